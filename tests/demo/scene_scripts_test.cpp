#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "demo/random.h"
#include "demo/scene_scripts.h"
#include "demo/scene_state.h"
#include "fake_platform.h"
#include "mesh/global_meshes.h"

namespace {

const double nan_value = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

std::vector<SceneObject*> placed_objects() {
    std::vector<SceneObject*> all = {&tekstObjects[0], &tekstObjects[1], &canyonObject,  &basketObject,
                                     &wireObjects[0],  &wireObjects[1],  &wireObjects[2], &sphereObject,
                                     &poleObjects[0],  &poleObjects[1],  &dolphinObject};
    for (int i = 0; i < 8; ++i) all.push_back(&tunnelInnerObjects[i]);
    for (int i = 0; i < 8; ++i) all.push_back(&tunnelOuterObjects[i]);
    for (int i = 0; i < 16; ++i) all.push_back(&airshipObjects[i]);
    return all;
}

// Everything a script may write, including the random sequence: the five
// vectors (eye 0-2, target 3-5, light colour 6-8, light position 9-11,
// ambient 12-14), the scalars from 15 on, then the placements of the objects
// in the order above, six values each.
const size_t object_count_field = 18, background_field = 20, grain_field = 22, hdr_field = 23;
const size_t first_ring_field = 25 + 11 * 6;

struct Snapshot {
    std::vector<double> values;
    std::vector<SceneObject*> list;
    bool operator==(const Snapshot& o) const { return values == o.values && list == o.list; }
};

Snapshot snapshot() {
    Snapshot s;
    auto add = [&](const Vector3& v) { s.values.insert(s.values.end(), {v.x, v.y, v.z}); };
    add(camera_eye);
    add(camera_target);
    add(light_color[0]);
    add(light_position[0]);
    add(ambient_color);
    s.values.insert(s.values.end(), {camera_roll, double(light_count), light_attenuation, double(object_count),
                                     double(sky_slot), double(background_mode), ripple_phase, grain_alpha, hdr_level,
                                     double(rand_state)});
    for (SceneObject* o : placed_objects()) s.values.insert(s.values.end(), {o->x, o->y, o->z, o->yaw, o->pitch, o->roll});
    s.list.assign(object_list, object_list + object_count);
    return s;
}

// Values no script writes, so that whatever a script leaves alone shows.
void set_baseline() {
    camera_eye = camera_target = {-7, -7, -7};
    light_color[0] = light_position[0] = ambient_color = {-7, -7, -7};
    camera_roll = light_attenuation = ripple_phase = -7;
    light_count = sky_slot = background_mode = -7;
    object_count = 3;
    for (int i = 0; i < 3; ++i) object_list[i] = &columnObjects[1];
    grain_alpha = hdr_level = -7;
    rand_state = 4242;
    for (SceneObject* o : placed_objects()) o->x = o->y = o->z = o->yaw = o->pitch = o->roll = -7;
    // Precalc's ring placement: inner rings every 29 units, outer every 87.
    for (int i = 0; i < 8; ++i) {
        tunnelInnerObjects[i].z = 29 * i;
        tunnelOuterObjects[i].z = 87 * i;
    }
}

Snapshot run(const std::function<void()>& frame) {
    set_baseline();
    frame();
    return snapshot();
}

// How many numbers a frame takes from the shared sequence (up to 3).
int draws(const std::function<void()>& frame) {
    set_baseline();
    frame();
    std::uint32_t after = rand_state;
    rand_state = 4242;
    for (int n = 0; n <= 3; ++n) {
        if (rand_state == after) return n;
        rand_range(0, 1);
    }
    return -1;
}

class SceneScripts : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        set_baseline();
    }
};

TEST_F(SceneScripts, TitleFallsInForFourBeatsWithoutDrawing) {
    scene_title(3.5f);
    EXPECT_EQ(background_mode, 1);
    EXPECT_FLOAT_EQ(grain_alpha, 0.125f);
    double side = 18 * std::sin(1.57075 * 3.5);
    EXPECT_DOUBLE_EQ(tekstObjects[0].x, -side);
    EXPECT_DOUBLE_EQ(tekstObjects[1].x, side);
    EXPECT_DOUBLE_EQ(tekstObjects[0].y, 7.5);
    EXPECT_DOUBLE_EQ(tekstObjects[1].y, 7.5);
    EXPECT_FLOAT_EQ(hdr_level, 0.5f);  // beat 3 pulses at full strength, half decayed
    ASSERT_EQ(object_count, 2);
    EXPECT_EQ(object_list[2], &columnObjects[0]);
    // The eye (0, 4.5, -15) swung by 16 / 4.5 in its y-z plane.
    double th = 16.0f / 4.5f;
    EXPECT_DOUBLE_EQ(camera_eye.y, 4.5 * std::cos(th) + 15 * std::sin(th));
    EXPECT_DOUBLE_EQ(camera_eye.z, -15 * std::cos(th) + 4.5 * std::sin(th));
    EXPECT_EQ(rand_state, 4242u);
}

TEST_F(SceneScripts, TitleShakeStaysBoundedAndPulsesRepeatEveryEightBeats) {
    for (float x = 8; x < 48; x += 0.125f) {
        scene_title(x);
        EXPECT_LE(std::fabs(tekstObjects[1].x), 2 / (x - 7) + 1e-12) << x;
        EXPECT_EQ(tekstObjects[0].x, -tekstObjects[1].x);
        EXPECT_GE(grain_alpha, 0.0f);
        EXPECT_LE(grain_alpha, 1.0f);
    }
    scene_title(11.0f);
    EXPECT_FLOAT_EQ(hdr_level, 1.0f);
    scene_title(14.5f);
    EXPECT_FLOAT_EQ(hdr_level, 0.05f);
    scene_title(17.0f);
    EXPECT_EQ(background_mode, 2);
}

TEST_F(SceneScripts, TitleBeforeZeroOrNaNShowsTheFirstFrame) {
    Snapshot first = run([] { scene_title(0.0f); });
    EXPECT_EQ(run([] { scene_title(-3.0f); }), first);
    EXPECT_EQ(run([] { scene_title(-1.0f); }), first);
    EXPECT_EQ(run([] { scene_title(std::numeric_limits<float>::quiet_NaN()); }), first);
    // Far past its window the pulse table still wraps round.
    scene_title(3e9f);
    EXPECT_TRUE(std::isfinite(hdr_level));
}

TEST_F(SceneScripts, CanyonCutsOnWholeArgumentsAndCreepsOnQuarters) {
    scene_canyon(12.25);
    double angle = 12 * 13.3;
    EXPECT_DOUBLE_EQ(camera_eye.x, 10 * std::sin(angle));
    EXPECT_DOUBLE_EQ(camera_eye.y, 4.5 - 9 * std::sin(angle));
    EXPECT_DOUBLE_EQ(camera_eye.z, 10 * std::cos(angle));
    EXPECT_EQ(background_mode, 0);
    EXPECT_FLOAT_EQ(hdr_level, 0.5f);
    EXPECT_FLOAT_EQ(grain_alpha, 0.0f);
    scene_canyon(13.5);  // n = 54, step 2 of the table, mode (27 mod 2)
    EXPECT_DOUBLE_EQ(camera_eye.x, 10 * std::sin(13 * 13.3 + 0.2 * 2));
    EXPECT_EQ(background_mode, 1);
    EXPECT_FLOAT_EQ(grain_alpha, 0.25f);
    EXPECT_FLOAT_EQ(hdr_level, 1.5f);
    // Negative and huge arguments stay inside the tables.
    for (double x : {-0.25, -13.5, -1e12, 1e300, nan_value, infinity}) {
        scene_canyon(x);
        EXPECT_TRUE(background_mode == 0 || background_mode == 1) << x;
        EXPECT_GE(grain_alpha, 0.0f) << x;
        EXPECT_LE(grain_alpha, 0.625f) << x;
    }
}

// Everything measured from the eye, and the rings' rolls, carry over the jump
// back at a = 2: ring i takes the place and roll of ring i + 3 (inner) or
// i + 1 (outer).
TEST_F(SceneScripts, TunnelJumpBackDoesNotShow) {
    struct View {
        double eye_z;
        std::vector<double> inner_z, inner_roll, outer_z, outer_roll, airship_z;
        double sphere_z;
    };
    auto look = [] {
        View v{camera_eye.z, {}, {}, {}, {}, {}, sphereObject.z - camera_eye.z};
        for (int i = 0; i < 8; ++i) {
            v.inner_z.push_back(tunnelInnerObjects[i].z - camera_eye.z);
            v.inner_roll.push_back(tunnelInnerObjects[i].roll);
            v.outer_z.push_back(tunnelOuterObjects[i].z - camera_eye.z);
            v.outer_roll.push_back(tunnelOuterObjects[i].roll);
        }
        for (int i = 0; i < 16; ++i) v.airship_z.push_back(airshipObjects[i].z - camera_eye.z);
        return v;
    };
    scene_tunnel(std::nextafter(2.0, 0.0));
    View before = look();
    scene_tunnel(2.0);
    View after = look();
    EXPECT_NEAR(before.eye_z, 87, 1e-9);
    EXPECT_EQ(after.eye_z, 0);
    for (int i = 0; i + 3 < 8; ++i) {
        EXPECT_NEAR(after.inner_z[i], before.inner_z[i + 3], 1e-9) << i;
        EXPECT_NEAR(after.inner_roll[i], before.inner_roll[i + 3], 1e-9) << i;
        EXPECT_NEAR(after.inner_roll[i], 0.7 + 0.1 * i, 1e-12) << i;
    }
    for (int i = 0; i + 1 < 8; ++i) {
        EXPECT_NEAR(after.outer_z[i], before.outer_z[i + 1], 1e-9) << i;
        EXPECT_NEAR(after.outer_roll[i], before.outer_roll[i + 1], 1e-9) << i;
    }
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(after.airship_z[i], before.airship_z[i], 1e-9) << i;
    EXPECT_NEAR(after.sphere_z, before.sphere_z, 1e-9);
    EXPECT_EQ(object_count, 33);
    EXPECT_EQ(object_list[32], &sphereObject);
}

TEST_F(SceneScripts, TunnelFlashesAtTheEndOfTheForwardFlightOnly) {
    scene_tunnel(59);
    EXPECT_FLOAT_EQ(grain_alpha, 0.2f);
    EXPECT_FLOAT_EQ(hdr_level, float(std::sin(1.0)));
    scene_tunnel(62.5);
    EXPECT_FLOAT_EQ(hdr_level, float(std::sin(1.5)));
    scene_tunnel_back(62.5);
    EXPECT_FLOAT_EQ(hdr_level, float(62.5 * 0.5 * 0.015625));
    scene_tunnel(1);
    EXPECT_FLOAT_EQ(hdr_level, 0.5f);
    scene_tunnel_back(1);
    EXPECT_FLOAT_EQ(hdr_level, 0.5f);
}

// Backwards, the flight (camera, rings, airships, the sphere's run along the
// tunnel) is the forward flight at 64 - a; the rest follows a.
TEST_F(SceneScripts, TunnelBackFliesTheForwardFlightInReverse) {
    const double a = 10.3;
    scene_tunnel(64 - a);
    Snapshot reversed = snapshot();
    double reversed_sphere_run = sphereObject.z - 30 * std::sin((64 - a) / 3);
    scene_tunnel(a);
    Snapshot forward = snapshot();
    scene_tunnel_back(a);
    Snapshot back = snapshot();
    auto expect_from = [&](const Snapshot& want, const Snapshot& got, std::vector<size_t> fields) {
        for (size_t f : fields) EXPECT_EQ(got.values[f], want.values[f]) << "field " << f;
    };
    // Eye z, ambient red; every ring and airship placement.
    expect_from(reversed, back, {2, 12});
    EXPECT_NEAR(camera_target.z - camera_eye.z, forward.values[5] - forward.values[2], 1e-9);
    for (size_t f = first_ring_field; f < back.values.size(); ++f) EXPECT_EQ(back.values[f], reversed.values[f]) << f;
    // Eye x, target x, light position, grain, hdr, background.
    expect_from(forward, back, {0, 3, 9, 10, 11, 20, 21, 22, 23});
    EXPECT_DOUBLE_EQ(camera_roll, a / 2 + 0.3 * 26);
    EXPECT_DOUBLE_EQ(sphereObject.x, 32 * std::sin(a));
    EXPECT_NEAR(sphereObject.z - 30 * std::sin(a / 3), reversed_sphere_run, 1e-9);
}

TEST_F(SceneScripts, PolesRippleOnTheLastFiveBeatsOfEightAndSlowDownFrom16) {
    scene_poles(3);
    EXPECT_EQ(background_mode, 4);
    EXPECT_EQ(ripple_phase, 3);
    scene_poles(20.5);
    EXPECT_EQ(background_mode, 4);
    EXPECT_DOUBLE_EQ(ripple_phase, (1 - 4.5 * 0.0625) * 41);
    ripple_phase = -7;
    scene_poles(1.5);
    EXPECT_EQ(background_mode, 1);
    EXPECT_EQ(ripple_phase, -7);
    EXPECT_EQ(poleObjects[0].yaw, -7);
    EXPECT_DOUBLE_EQ(poleObjects[1].yaw, -0.5);
    for (double x : {-3.5, -1e300, 1e300, nan_value}) {
        scene_poles(x);
        EXPECT_TRUE(background_mode == 1 || background_mode == 4) << x;
    }
}

TEST_F(SceneScripts, CanyonTopFadesInThreeStepsAndLeavesTheCanyonTilted) {
    const std::pair<double, float> fades[] = {{0.5, 0.5f}, {2.5, 0.5f}, {5.5, 0.5f}, {7, 0.2f}, {15.9, 0.2f}};
    for (auto [a, hdr] : fades) {
        scene_canyon_top(a);
        EXPECT_FLOAT_EQ(hdr_level, hdr) << a;
        EXPECT_EQ(background_mode, a < 1 ? 1 : 0) << a;
    }
    scene_canyon(50);
    EXPECT_EQ(canyonObject.pitch, -1.57075);
}

TEST_F(SceneScripts, EndSceneLogsEveryFrame) {
    platform::console_allocate();
    end_scene(0);
    end_scene(2.5);
    EXPECT_EQ(fake::state.console, "kill me 0.000000 \nkill me 2.500000 \n");
    EXPECT_EQ(object_list[0], &dolphinObject);
    EXPECT_EQ(object_count, 1);
    EXPECT_FLOAT_EQ(hdr_level, float(0.5 * (1 - std::cos(2.5 * 0.11764705882352941))));
}

TEST_F(SceneScripts, OnlyTheTitleFromBeat4AndTheBasketDrawRandomNumbers) {
    EXPECT_EQ(draws([] { scene_title(0); }), 0);
    EXPECT_EQ(draws([] { scene_title(3.99f); }), 0);
    EXPECT_EQ(draws([] { scene_title(4); }), 1);
    EXPECT_EQ(draws([] { scene_title(40); }), 1);
    EXPECT_EQ(draws([] { scene_basket(50); }), 1);
    EXPECT_EQ(draws([] { scene_canyon(50); }), 0);
    EXPECT_EQ(draws([] { scene_tunnel(10); }), 0);
    EXPECT_EQ(draws([] { scene_poles(10); }), 0);
    EXPECT_EQ(draws([] { scene_tunnel_back(10); }), 0);
    EXPECT_EQ(draws([] { scene_canyon_top(10); }), 0);
    EXPECT_EQ(draws([] { end_scene(10); }), 0);
    // The drawn number is the grain.
    set_baseline();
    unsigned n = rand_range(0, 20);
    rand_state = 4242;
    scene_basket(51);
    EXPECT_FLOAT_EQ(grain_alpha, float(0.01 * n));
}

TEST_F(SceneScripts, FieldsAScriptDoesNotOwnKeepTheirValues) {
    // Scripts that do not roll the camera, light the scene's attenuation or
    // ripple the background leave those alone.
    run([] { scene_title(20); });
    EXPECT_EQ(camera_roll, -7);
    EXPECT_EQ(light_attenuation, -7);
    EXPECT_EQ(ripple_phase, -7);
    run([] { scene_canyon(70); });
    EXPECT_EQ(camera_roll, -7);
    EXPECT_EQ(ripple_phase, -7);
    run([] { scene_basket(70); });
    EXPECT_EQ(ripple_phase, -7);
    EXPECT_EQ(wireObjects[2].yaw, -7);
    EXPECT_EQ(basketObject.x, -7);
    run([] { scene_tunnel(0.5); });  // a base-image-off stretch: no ripple
    EXPECT_EQ(ripple_phase, -7);
    EXPECT_EQ(tunnelInnerObjects[3].z, 87);
    run([] { scene_canyon_top(3); });
    EXPECT_EQ(ripple_phase, -7);
    run([] { end_scene(3); });
    EXPECT_EQ(camera_roll, -7);
    EXPECT_EQ(ripple_phase, -7);
    EXPECT_EQ(dolphinObject.pitch, -7);
}

// The dispatcher runs the script that owns the beat with its argument: the
// state it leaves equals that of calling the script directly.
TEST_F(SceneScripts, DispatchRunsTheOwningScriptWithItsArgument) {
    struct Case {
        double beat;
        std::function<void()> expected;
    };
    const Case cases[] = {
        {0, [] { scene_title(0); }},
        {-5, [] { scene_title(0); }},
        {nan_value, [] { scene_title(0); }},
        {-infinity, [] { scene_title(0); }},
        {30.3, [] { scene_title(30.3f); }},
        {47.99, [] { scene_title(47.99f); }},
        {48, [] { scene_canyon(48); }},
        {50, [] { scene_canyon(50); }},
        {52, [] { scene_basket(52); }},
        {79.5, [] { scene_basket(79.5); }},
        {80, [] { scene_canyon(160); }},
        {81, [] { scene_canyon(162); }},
        {83, [] { scene_basket(166); }},
        {88, [] { scene_canyon(352); }},
        {95.5, [] { scene_canyon(382); }},
        {96, [] { scene_tunnel(0); }},
        {std::nextafter(104.0, 0.0), [] { scene_tunnel(std::nextafter(104.0, 0.0) - 96); }},
        {104, [] { scene_tunnel(8); }},
        {159.75, [] { scene_tunnel(63.75); }},
        {160, [] { scene_poles(0); }},
        {223.5, [] { scene_poles(63.5); }},
        {224, [] { scene_basket(224); }},
        {256, [] { scene_tunnel_back(0); }},
        {319, [] { scene_tunnel_back(63); }},
        {320, [] { scene_canyon_top(0); }},
        {std::nextafter(336.0, 0.0), [] { scene_canyon_top(std::nextafter(336.0, 0.0) - 320); }},
    };
    for (const Case& c : cases) {
        Snapshot want = run(c.expected);
        EXPECT_EQ(run([&] { scene_dispatch(c.beat); }), want) << "beat " << c.beat;
    }
}

TEST_F(SceneScripts, ClosingStretchTurnsAtTheOriginAndFadesOut) {
    for (double beat : {336.0, 346.0, 355.5}) {
        Snapshot before = run([] {});
        scene_dispatch(beat);
        EXPECT_EQ(object_count, 0);
        EXPECT_EQ(background_mode, 1);
        EXPECT_EQ(grain_alpha, 1.0f);
        EXPECT_FLOAT_EQ(hdr_level, 0.5f - float(beat - 336) * 0.025f);
        EXPECT_EQ(camera_eye.x, 0);
        EXPECT_EQ(camera_eye.z, 0);
        EXPECT_NEAR(camera_target.x, std::cos(beat / 7), 1e-12);
        EXPECT_NEAR(camera_target.z, std::sin(beat / 7), 1e-12);
        // Light, sky, roll and placements stay as the last script left them.
        Snapshot after = snapshot();
        for (size_t f = 6; f < after.values.size(); ++f) {
            bool written = f == object_count_field || f == background_field || f == grain_field || f == hdr_field;
            if (!written) {
                EXPECT_EQ(after.values[f], before.values[f]) << beat << " field " << f;
            }
        }
    }
}

TEST_F(SceneScripts, AfterTheMusicOnlyTheBackgroundAndTheGlowChange) {
    for (double beat : {356.0, 380.0, 1e12, infinity}) {
        Snapshot before = run([] {});
        scene_dispatch(beat);
        EXPECT_EQ(background_mode, 1);
        EXPECT_EQ(hdr_level, 0.0f);
        background_mode = -7;
        hdr_level = -7;
        EXPECT_EQ(snapshot(), before) << beat;
    }
}

}  // namespace
