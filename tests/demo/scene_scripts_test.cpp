#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "demo/frame_state.h"
#include "demo/random.h"
#include "demo/scene_scripts.h"
#include "demo/scene_state.h"
#include "fake_platform.h"
#include "mesh/global_meshes.h"

namespace {

const double nan_value = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();
// The record the scripts are handed: the tests' own, not the program's.
FrameState frame;
SceneState& scene = frame.scene;

// Where the scene has an object.
Pose& at(const SceneObject& object) { return pose_slot(scene, object); }

// The two scripts that draw, drawing from the tests' sequence.
void title(float x) { scene_title(scene, frame.rand_state, x); }
void basket(double x) { scene_basket(scene, frame.rand_state, x); }

std::vector<SceneObject*> placed_objects() {
    std::vector<SceneObject*> all = {&tekstObjects[0], &tekstObjects[1], &canyonObject, &basketObject, &sphereObject,
                                     &poleObjects[0], &poleObjects[1], &dolphinObject};
    for (int i = 0; i < 3; ++i) all.push_back(&wireObjects[i]);
    for (int i = 0; i < 8; ++i) all.insert(all.end(), {&tunnelInnerObjects[i], &tunnelOuterObjects[i]});
    for (int i = 0; i < 16; ++i) all.push_back(&airshipObjects[i]);
    return all;
}

// Everything a script may write, the random sequence included, with the
// object list appended as addresses.
std::vector<double> snapshot() {
    std::vector<double> s;
    for (const Vector3& v :
         {scene.camera_eye, scene.camera_target, scene.light_color[0], scene.light_position[0], scene.ambient_color})
        s.insert(s.end(), {v.x, v.y, v.z});
    s.insert(s.end(), {scene.camera_roll, double(scene.light_count), scene.light_attenuation,
                       double(scene.object_count), double(scene.sky_slot), double(scene.background_mode),
                       scene.ripple_phase, scene.grain_alpha, scene.hdr_level, double(frame.rand_state)});
    for (SceneObject* o : placed_objects()) {
        const Pose& p = at(*o);
        s.insert(s.end(), {p.x, p.y, p.z, p.yaw, p.pitch, p.roll});
    }
    for (int i = 0; i < scene.object_count; ++i)
        s.push_back(double(reinterpret_cast<std::uintptr_t>(scene.object_list[i])));
    return s;
}

// Values no script writes, so that whatever a script leaves alone shows;
// the rings where precalc puts them: inner every 29 units, outer every 87.
void set_baseline() {
    scene.camera_eye = scene.camera_target = scene.light_color[0] = scene.light_position[0] = scene.ambient_color =
        {-7, -7, -7};
    scene.camera_roll = scene.light_attenuation = scene.ripple_phase = scene.grain_alpha = scene.hdr_level = -7;
    scene.light_count = scene.sky_slot = scene.background_mode = -7;
    scene.object_count = 1;
    scene.object_list[0] = &columnObjects[1];
    frame.rand_state = 4242;
    for (SceneObject* o : placed_objects()) at(*o) = {-7, -7, -7, -7, -7, -7};
    for (int i = 0; i < 8; ++i) {
        at(tunnelInnerObjects[i]).z = 29 * i;
        at(tunnelOuterObjects[i]).z = 87 * i;
    }
}

std::vector<double> run(const std::function<void()>& script) {
    set_baseline();
    script();
    return snapshot();
}

// How many numbers one frame takes from the shared sequence.
int draws(const std::function<void()>& script) {
    run(script);
    std::uint32_t after = frame.rand_state;
    frame.rand_state = 4242;
    for (int n = 0; n < 4; ++n, rand_range(frame.rand_state, 0, 1))
        if (frame.rand_state == after) return n;
    return -1;
}

class SceneScripts : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); set_baseline(); }
};

TEST_F(SceneScripts, Title) {
    title(3.5f);
    EXPECT_EQ(scene.background_mode, 1);
    EXPECT_FLOAT_EQ(scene.grain_alpha, 0.125f);
    EXPECT_DOUBLE_EQ(at(tekstObjects[1]).x, 18 * std::sin(1.57075 * 3.5));
    EXPECT_EQ(at(tekstObjects[0]).x, -at(tekstObjects[1]).x);
    EXPECT_DOUBLE_EQ(at(tekstObjects[0]).y, 7.5);
    EXPECT_FLOAT_EQ(scene.hdr_level, 0.5f);  // the full pulse of beat 3, half decayed
    EXPECT_EQ(scene.object_count, 2);
    EXPECT_EQ(scene.object_list[2], &columnObjects[0]);
    double th = 16.0f / 4.5f;  // the eye (0, 4.5, -15) swung in its y-z plane
    EXPECT_DOUBLE_EQ(scene.camera_eye.z, -15 * std::cos(th) + 4.5 * std::sin(th));
    // From beat 8 the halves shake apart by at most 2 / (x - 7).
    for (float x = 8; x < 48; x += 0.125f) {
        title(x);
        EXPECT_LE(std::fabs(at(tekstObjects[1]).x), 2 / (x - 7) + 1e-12) << x;
    }
    title(14.5f);
    EXPECT_FLOAT_EQ(scene.hdr_level, 0.05f);
    // Before 0 (or NaN) shows the first frame; far past 48 the pulses wrap.
    auto first = run([] { title(0); });
    for (float x : {-1.0f, -3.0f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_EQ(run([x] { title(x); }), first);
    title(3e9f);
    EXPECT_TRUE(std::isfinite(scene.hdr_level));
}

TEST_F(SceneScripts, CanyonCutsOnWholeArgumentsAndCreepsOnQuarters) {
    scene_canyon(scene, 12.25);
    EXPECT_DOUBLE_EQ(scene.camera_eye.x, 10 * std::sin(12 * 13.3));
    EXPECT_EQ(scene.background_mode, 0);
    EXPECT_FLOAT_EQ(scene.hdr_level, 0.5f);
    scene_canyon(scene, 13.5);  // quarter 6 of 16: second step, a hit; (54 / 2) is odd
    EXPECT_DOUBLE_EQ(scene.camera_eye.x, 10 * std::sin(13 * 13.3 + 0.4));
    EXPECT_EQ(scene.background_mode, 1);
    EXPECT_FLOAT_EQ(scene.grain_alpha, 0.25f);
    EXPECT_FLOAT_EQ(scene.hdr_level, 1.5f);
    for (double x : {-0.25, -13.5, -1e12, 1e300, nan_value, inf}) {
        scene_canyon(scene, x);
        EXPECT_TRUE(scene.background_mode == 0 || scene.background_mode == 1) << x;
        EXPECT_TRUE(scene.grain_alpha >= 0 && scene.grain_alpha <= 0.625f) << x;
    }
}

// At a = 2 the camera jumps 87 units back; measured from the eye, ring i
// then stands where ring i + 3 (inner) or i + 1 (outer) stood, with its roll,
// and the airships and the sphere do not move.
TEST_F(SceneScripts, TunnelJumpBackDoesNotShow) {
    auto view = [] {
        std::vector<double> v;
        for (int i = 0; i < 8; ++i)
            v.insert(v.end(), {at(tunnelInnerObjects[i]).z - scene.camera_eye.z, at(tunnelInnerObjects[i]).roll,
                               at(tunnelOuterObjects[i]).z - scene.camera_eye.z, at(tunnelOuterObjects[i]).roll});
        for (int i = 0; i < 16; ++i) v.push_back(at(airshipObjects[i]).z - scene.camera_eye.z);
        v.push_back(at(sphereObject).z - scene.camera_eye.z);
        return v;
    };
    scene_tunnel(scene, std::nextafter(2.0, 0.0));
    auto before = view();
    EXPECT_NEAR(scene.camera_eye.z, 87, 1e-9);
    scene_tunnel(scene, 2.0);
    auto after = view();
    EXPECT_EQ(scene.camera_eye.z, 0);
    for (int i = 0; i + 3 < 8; ++i) {
        EXPECT_NEAR(after[4 * i], before[4 * (i + 3)], 1e-9) << i;
        EXPECT_NEAR(after[4 * i + 1], before[4 * (i + 3) + 1], 1e-9) << i;
        EXPECT_NEAR(after[4 * i + 1], 0.7 + 0.1 * i, 1e-12) << i;
    }
    for (int i = 0; i + 1 < 8; ++i) {
        EXPECT_NEAR(after[4 * i + 2], before[4 * (i + 1) + 2], 1e-9) << i;
        EXPECT_NEAR(after[4 * i + 3], before[4 * (i + 1) + 3], 1e-9) << i;
    }
    for (size_t k = 32; k < after.size(); ++k) EXPECT_NEAR(after[k], before[k], 1e-9) << k;
    EXPECT_EQ(scene.object_count, 33);
}

// Backwards, the flight along the tunnel is the forward one at 64 - a; the
// sway, the light, the glow and the background follow a. Only the forward
// flight flashes at its end.
TEST_F(SceneScripts, TunnelBackFliesTheForwardFlightInReverse) {
    auto flight = run([] { scene_tunnel(scene, 53.7); });
    auto sway = run([] { scene_tunnel(scene, 10.3); });
    auto back = run([] { scene_tunnel_back(scene, 10.3); });
    for (size_t f : {2, 12}) EXPECT_EQ(back[f], flight[f]) << f;                      // eye z, ambient red
    for (size_t f : {0, 9, 10, 11, 20, 22, 23}) EXPECT_EQ(back[f], sway[f]) << f;     // eye x, light, post
    for (size_t f = 25 + 11 * 6; f < back.size(); ++f) EXPECT_EQ(back[f], flight[f]) << f;  // rings, airships
    EXPECT_DOUBLE_EQ(scene.camera_roll, 10.3 / 2 + 0.3 * 26);
    scene_tunnel(scene, 62.5);
    EXPECT_FLOAT_EQ(scene.grain_alpha, 0.2f);
    EXPECT_FLOAT_EQ(scene.hdr_level, float(std::sin(1.5)));
    scene_tunnel_back(scene, 62.5);
    EXPECT_FLOAT_EQ(scene.hdr_level, float(62.5 * 0.5 * 0.015625));
    scene_tunnel_back(scene, 1);
    EXPECT_FLOAT_EQ(scene.hdr_level, 0.5f);
}

TEST_F(SceneScripts, PolesCanyonTopAndEnd) {
    scene_poles(scene, 3);
    EXPECT_EQ(scene.background_mode, 4);
    EXPECT_EQ(scene.ripple_phase, 3);
    scene_poles(scene, 20.5);
    EXPECT_DOUBLE_EQ(scene.ripple_phase, (1 - 4.5 * 0.0625) * 41);
    for (double x : {-3.5, -1e300, 1e300, nan_value}) {
        scene_poles(scene, x);
        EXPECT_TRUE(scene.background_mode == 1 || scene.background_mode == 4) << x;
    }
    for (double a : {0.5, 2.5, 5.5}) {
        scene_canyon_top(scene, a);
        EXPECT_FLOAT_EQ(scene.hdr_level, 0.5f) << a;
    }
    scene_canyon(scene, 50);
    EXPECT_EQ(at(canyonObject).pitch, -1.57075);  // stays tilted
    platform::console_allocate();
    end_scene(scene, 0);
    end_scene(scene, 2.5);
    EXPECT_EQ(fake::state.console, "kill me 0.000000 \nkill me 2.500000 \n");
}

TEST_F(SceneScripts, OnlyTheTitleFromBeat4AndTheBasketDraw) {
    const std::pair<std::function<void()>, int> cases[] = {
        {[] { title(3.99f); }, 0},     {[] { title(4); }, 1},
        {[] { title(40); }, 1},        {[] { basket(50); }, 1},
        {[] { scene_canyon(scene, 50); }, 0},       {[] { scene_tunnel(scene, 10); }, 0},
        {[] { scene_poles(scene, 10); }, 0},        {[] { scene_tunnel_back(scene, 10); }, 0},
        {[] { scene_canyon_top(scene, 10); }, 0},   {[] { end_scene(scene, 10); }, 0}};
    for (const auto& [script, n] : cases) EXPECT_EQ(draws(script), n);
}

TEST_F(SceneScripts, FieldsAScriptDoesNotOwnKeepTheirValues) {
    const std::function<void()> scripts[] = {[] { title(20); }, [] { scene_canyon(scene, 70); },
                                             [] { basket(70); }, [] { scene_tunnel(scene, 0.5); },
                                             [] { scene_canyon_top(scene, 3); }, [] { end_scene(scene, 3); }};
    for (const auto& script : scripts) {
        run(script);
        EXPECT_EQ(scene.ripple_phase, -7);
        EXPECT_EQ(at(tunnelInnerObjects[3]).z, 87);
    }
    for (int i : {0, 1, 5}) {
        run(scripts[i]);
        EXPECT_EQ(scene.camera_roll, -7) << i;
    }
    run(scripts[0]);
    EXPECT_EQ(scene.light_attenuation, -7);
    run(scripts[2]);
    EXPECT_EQ(at(wireObjects[2]).yaw, -7);
    run([] { scene_poles(scene, 9); });  // only the left pole turns
    EXPECT_EQ(at(poleObjects[0]).yaw, -7);
    EXPECT_DOUBLE_EQ(at(poleObjects[1]).yaw, -3);
}

// Dispatch leaves the state that calling the owning script directly leaves.
TEST_F(SceneScripts, DispatchRunsTheOwningScriptWithItsArgument) {
    const std::pair<double, std::function<void()>> cases[] = {
        {0, [] { title(0); }},          {-5, [] { title(0); }},
        {nan_value, [] { title(0); }},  {-inf, [] { title(0); }},
        {47.99, [] { title(47.99f); }}, {48, [] { scene_canyon(scene, 48); }},
        {50, [] { scene_canyon(scene, 50); }},       {52, [] { basket(52); }},
        {79.5, [] { basket(79.5); }},   {80, [] { scene_canyon(scene, 160); }},
        {81, [] { scene_canyon(scene, 162); }},      {83, [] { basket(166); }},
        {88, [] { scene_canyon(scene, 352); }},      {95.5, [] { scene_canyon(scene, 382); }},
        {96, [] { scene_tunnel(scene, 0); }},        {103.5, [] { scene_tunnel(scene, 7.5); }},
        {104, [] { scene_tunnel(scene, 8); }},       {159.75, [] { scene_tunnel(scene, 63.75); }},
        {160, [] { scene_poles(scene, 0); }},        {223.5, [] { scene_poles(scene, 63.5); }},
        {224, [] { basket(224); }},     {255.5, [] { basket(255.5); }},
        {256, [] { scene_tunnel_back(scene, 0); }},  {319.5, [] { scene_tunnel_back(scene, 63.5); }},
        {320, [] { scene_canyon_top(scene, 0); }},   {335.5, [] { scene_canyon_top(scene, 15.5); }}};
    for (const auto& [beat, script] : cases)
        EXPECT_EQ(run([b = beat] { scene_dispatch(frame, b); }), run(script)) << beat;
}

// From 336 no script runs: the camera turns at the origin while the glow
// fades; from 356 only the background and the glow change.
TEST_F(SceneScripts, ClosingStretchAndAfterTheMusic) {
    for (double beat : {336.0, 346.0, 355.5, 356.0, 1e12, inf}) {
        auto before = run([] {});
        scene_dispatch(frame, beat);
        bool closing = beat < 356;
        EXPECT_EQ(scene.background_mode, 1);
        EXPECT_FLOAT_EQ(scene.hdr_level, closing ? 0.5f - float(beat - 336) * 0.025f : 0.0f);
        if (closing) {
            EXPECT_EQ(scene.object_count, 0);
            EXPECT_EQ(scene.grain_alpha, 1.0f);
            EXPECT_NEAR(scene.camera_target.z, std::sin(beat / 7), 1e-12);
            EXPECT_EQ(scene.camera_eye.z, 0);
            scene.camera_eye = scene.camera_target = {-7, -7, -7};
            scene.object_count = 1;
            scene.grain_alpha = -7;
        }
        scene.background_mode = -7;
        scene.hdr_level = -7;
        EXPECT_EQ(snapshot(), before) << beat;
    }
}

}  // namespace
