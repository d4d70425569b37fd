#include "demo/scene_state.h"

#include <cassert>

#include "mesh/global_meshes.h"

namespace {

struct ObjectGroup {
    const SceneObject* first;
    int count;
};

// In the order of mesh/global_meshes.h.
constexpr ObjectGroup object_groups[] = {
    {columnObjects, 2},       {wireObjects, 3},    {tunnelInnerObjects, 8}, {tunnelOuterObjects, 8},
    {airshipObjects, 32},     {tekstObjects, 2},   {poleObjects, 4},        {&dolphinObject, 1},
    {&sphereObject, 1},       {&basketObject, 1},  {&canyonObject, 1}};

constexpr int grouped_total() {
    int n = 0;
    for (const ObjectGroup& group : object_groups) n += group.count;
    return n;
}
static_assert(grouped_total() == posed_object_count);

}  // namespace

int pose_index(const SceneObject& object) {
    int base = 0;
    for (const ObjectGroup& group : object_groups) {
        if (&object >= group.first && &object < group.first + group.count)
            return base + static_cast<int>(&object - group.first);
        base += group.count;
    }
    return -1;
}

const SceneObject& posed_object(int index) {
    assert(index >= 0 && index < posed_object_count);
    for (const ObjectGroup& group : object_groups) {
        if (index < group.count) return group.first[index];
        index -= group.count;
    }
    return canyonObject;
}

Pose rest_pose(const SceneObject& object) {
    return {object.x, object.y, object.z, object.yaw, object.pitch, object.roll};
}

Pose object_pose(const SceneState& scene, const SceneObject& object) {
    int index = pose_index(object);
    return index < 0 ? rest_pose(object) : scene.poses[index];
}

Pose& pose_slot(SceneState& scene, const SceneObject& object) {
    int index = pose_index(object);
    assert(index >= 0 && "only the objects of mesh/global_meshes.h have a pose");
    return scene.poses[index];
}
