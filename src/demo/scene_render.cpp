#include "demo/scene_render.h"

#include <cmath>

#include "demo/scene_state.h"
#include "demo/shadow_volume.h"
#include "demo/sky_box.h"
#include "gl/glext.h"
#include "image/texture.h"
#include "mesh/mesh_draw.h"

namespace {

void rotate(double radians, float x, float y, float z) {
    glRotatef(static_cast<float>(radians * degrees_per_radian), x, y, z);
}

void camera_turn(const SceneState& scene) {
    rotate(scene.camera_pitch, 1, 0, 0);
    rotate(scene.camera_yaw, 0, 1, 0);
    rotate(scene.camera_roll, 0, 0, 1);
}

void draw_object(const SceneState& scene, const SceneObject& object) {
    glPushMatrix();
    object_transform(object_pose(scene, object));
    object.mesh->draw(*object.mesh);
    glPopMatrix();
}

// Entry i of the list when it is in use and has a mesh to draw.
const SceneObject* listed(const SceneState& scene, int i) {
    if (i >= scene.object_count || i >= max_scene_objects) return nullptr;
    const SceneObject* object = scene.object_list[i];
    return object && object->mesh ? object : nullptr;
}

void draw_textured_objects(const SceneState& scene) {
    for (int i = 0; i < max_scene_objects; ++i)
        if (const SceneObject* object = listed(scene, i)) {
            bind_slot(object->texture);
            draw_object(scene, *object);
        }
}

// Draws the casters' shadow meshes; `rebuild` builds them for light k first.
void draw_shadow_volumes(const SceneState& scene, int k, bool rebuild, DrawScratch& scratch) {
    for (int i = 0; i < max_scene_objects; ++i) {
        const SceneObject* object = listed(scene, i);
        if (!object || !object->castsShadow) continue;
        Pose pose = object_pose(scene, *object);
        Mesh& shadow = scratch.shadow_of(*object);
        if (rebuild) shadow_volume_build(*object, pose, scene.light_position[k], shadow, scratch.lit);
        glPushMatrix();
        object_transform(pose);
        drawPlain(shadow);
        glPopMatrix();
    }
}

void light_setup(const SceneState& scene) {
    glLightf(GL_LIGHT1, GL_CONSTANT_ATTENUATION, static_cast<float>(scene.light_attenuation));
    glLightf(GL_LIGHT1, GL_LINEAR_ATTENUATION, 0.0f);
    glLightf(GL_LIGHT1, GL_QUADRATIC_ATTENUATION, 0.0f);
    const GLfloat none[4] = {0, 0, 0, 0};
    glLightfv(GL_LIGHT1, GL_AMBIENT, none);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
}

void base_pass(const SceneState& scene) {
    opaque_draw_state();
    glColor3d(scene.ambient_color.x, scene.ambient_color.y, scene.ambient_color.z);
    draw_textured_objects(scene);
}

void light_place(const SceneState& scene, int k) {
    const Vector3& c = scene.light_color[k];
    const Vector3& p = scene.light_position[k];
    const GLfloat diffuse[4] = {static_cast<float>(c.x), static_cast<float>(c.y), static_cast<float>(c.z), 0};
    const GLfloat position[4] = {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z), 1};
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
}

// Depth-fail counting: back faces of the volumes behind the visible surface
// count up, front faces behind it count down, so a pixel ends non-zero
// exactly when it lies inside a volume.
void stencil_pass(const SceneState& scene, int k, DrawScratch& scratch) {
    glDisable(GL_LIGHTING);
    glDepthFunc(GL_LESS);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
    glStencilOp(GL_KEEP, GL_INCR, GL_KEEP);
    glCullFace(GL_FRONT);
    draw_shadow_volumes(scene, k, true, scratch);
    glStencilOp(GL_KEEP, GL_DECR, GL_KEEP);
    glCullFace(GL_BACK);
    draw_shadow_volumes(scene, k, false, scratch);
}

void lit_pass(const SceneState& scene) {
    glDepthFunc(GL_EQUAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_FALSE);
    glEnable(GL_LIGHTING);
    glStencilFunc(GL_EQUAL, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glEnable(GL_TEXTURE_2D);
    draw_textured_objects(scene);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_STENCIL_TEST);
    glCullFace(GL_BACK);
}

}  // namespace

void bind_slot(int slot) {
    glBindTexture(GL_TEXTURE_2D, slot >= 0 && slot < texture_slots ? texture_table[slot] : 0);
}

void opaque_draw_state() {
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDepthFunc(GL_LESS);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
}

void camera_turn_update(SceneState& scene) {
    const Vector3& eye = scene.camera_eye;
    const Vector3& target = scene.camera_target;
    double dx = eye.x - target.x, dy = eye.y - target.y, dz = eye.z - target.z;
    scene.camera_pitch = std::atan2(-dy, std::sqrt(dz * dz + dx * dx));
    scene.camera_yaw = std::atan2(dx, dz);
}

void look_rotate(const SceneState& scene) { camera_turn(scene); }

void look_at(const SceneState& scene) {
    camera_turn(scene);
    const Vector3& eye = scene.camera_eye;
    glTranslatef(static_cast<float>(-eye.x), static_cast<float>(-eye.y), static_cast<float>(-eye.z));
}

void object_transform(const Pose& pose) {
    glTranslatef(static_cast<float>(pose.x), static_cast<float>(pose.y), static_cast<float>(pose.z));
    rotate(pose.yaw, 0, 1, 0);
    rotate(pose.pitch, 1, 0, 0);
    rotate(pose.roll, 0, 0, 1);
}

void sky_draw(const SceneState& scene) {
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    look_rotate(scene);
    const float corner_st[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int face = 0; face < sky_box::face_count; ++face) {
        bind_slot(scene.sky_slot + face);
        glBegin(GL_QUADS);
        for (int c = 0; c < 4; ++c) {
            const float* p = sky_box::corners[face][c];
            glTexCoord2f(corner_st[c][0], corner_st[c][1]);
            glVertex3f(p[0] * sky_box::half_size, p[1] * sky_box::half_size, p[2] * sky_box::half_size);
        }
        glEnd();
    }
    glPopMatrix();
    glDepthMask(GL_TRUE);
}

void scene_draw(const SceneState& scene, DrawScratch& scratch) {
    light_setup(scene);
    glPushMatrix();
    look_at(scene);
    base_pass(scene);
    for (int k = 0; k < scene.light_count && k < max_lights; ++k) {
        glEnable(GL_STENCIL_TEST);
        glClear(GL_STENCIL_BUFFER_BIT);
        light_place(scene, k);
        stencil_pass(scene, k, scratch);
        lit_pass(scene);
    }
    glPopMatrix();
}
