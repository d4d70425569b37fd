#include "demo/scene_geometry.h"

#include <cstdint>

#include "data/file_table.h"
#include "demo/texture_slots.h"
#include "iso/volume_sources.h"
#include "lwo/lightwave.h"
#include "mesh/global_meshes.h"
#include "mesh/mesh_draw.h"

namespace {

void place(SceneObject& object, Mesh& mesh, int casts_shadow, int texture) {
    object.castsShadow = casts_shadow;
    object.attach(&mesh);
    object.texture = texture;
}

void position(SceneObject& object, double x, double y, double z) {
    object.x = x, object.y = y, object.z = z;
}

void build_prism(Mesh& mesh, double sx, double sy, double sz, const char* name, MeshDraw draw) {
    mesh.buildHexaPrism();
    mesh.scale(sx, sy, sz);
    mesh.finalize(name);
    mesh.draw = draw;
}

}  // namespace

void build_volumes() {
    CellPolygonizer polygonizer;
    polygonizer.mesh = &sphereMesh;
    iso_sphere(polygonizer, "sphere");
    sphereMesh.draw = drawSphereMapSmooth;
    place(sphereObject, sphereMesh, 0, texture_slot::test_picture);
    position(sphereObject, 0, 0, 0);

    polygonizer.mesh = &basketMesh;
    iso_basket(polygonizer, "basket");
    basketMesh.draw = drawSphereMapSmooth;
    place(basketObject, basketMesh, 0, texture_slot::test_picture);
    position(basketObject, 0, 0, 0);

    polygonizer.mesh = &poleMesh;
    iso_pole(polygonizer, "pole");
    poleMesh.scale(1, 4, 1);
    poleMesh.finalize("pole");
    poleMesh.draw = drawSphereMapSmooth;
    for (SceneObject& pole : poleObjects) place(pole, poleMesh, 0, texture_slot::test_picture);
}

void build_dolphin() {
    dolphinMesh.clear();
    FileData file{};
    if (load_file("pool/dolphin.lwo", &file) == load_ok) {
        dolphinMesh.readLightWave(static_cast<std::int32_t>(file.size), file.data);
        release_file("pool/dolphin.lwo", &file);
    }
    dolphinMesh.finalize("lwo");
    dolphinMesh.scale(0.01, 0.01, 0.01);
    dolphinMesh.finalize("dolfijn");
    dolphinMesh.draw = drawSphereMapSmooth;
    dolphinObject.attach(&dolphinMesh);
    dolphinObject.pitch = 3.141592653589;
    dolphinObject.castsShadow = 0;
    dolphinObject.texture = texture_slot::test_picture;
}

void build_frames_and_tunnel() {
    Mesh* wires[3] = {&wire0Mesh, &wire1Mesh, &wire2Mesh};
    const char* names[3] = {"wire0", "wire1", "wire2"};
    const double sizes[3][2] = {{60, 64}, {30, 32}, {90, 96}};
    for (int i = 0; i < 3; ++i) {
        wires[i]->buildCubeFrame(names[i], sizes[i][0], sizes[i][1]);
        wires[i]->draw = drawSphereMapSmooth;
        place(wireObjects[i], *wires[i], 1, texture_slot::test_picture);
    }
    tunnelInnerMesh.buildTunnelSegment("wireTujnnel", 7, 8);
    tunnelInnerMesh.draw = drawSphereMapFlat;
    tunnelOuterMesh.buildTunnelSegment("wireTujnnel", 21.5, 22.5);
    tunnelOuterMesh.draw = drawSphereMapFlat;
    for (int i = 0; i < 8; ++i) {
        place(tunnelInnerObjects[i], tunnelInnerMesh, 1, texture_slot::test_picture);
        position(tunnelInnerObjects[i], 0, 0, 29.0 * i);
        place(tunnelOuterObjects[i], tunnelOuterMesh, 1, texture_slot::test_picture);
        position(tunnelOuterObjects[i], 0, 0, 87.0 * i);
    }
}

void build_airships_and_columns() {
    build_prism(airshipMeshA, 4, 16, 4, "airship", drawSphereMapSmooth);
    build_prism(airshipMeshB, 6, 12, 6, "airship", drawSphereMapFlat);
    for (int j = 0; j < 16; ++j) {
        place(airshipObjects[j], j % 2 ? airshipMeshA : airshipMeshB, 1, texture_slot::sky_2);
        position(airshipObjects[j], 0, 0, 30);
        airshipObjects[j].pitch = 1.570796;
    }
    build_prism(columnMesh, 2, 10, 2, "column", drawTextured);
    place(columnObjects[0], columnMesh, 1, texture_slot::test_picture);
    position(columnObjects[0], 17, 0, 11);
    place(columnObjects[1], columnMesh, 1, texture_slot::test_picture);
    position(columnObjects[1], 13, 0, -12);
}

void build_stored_meshes() {
    tekstMesh.loadFile("pool/iso/tekst.bin");
    tekstMesh.draw = drawSphereMapSmooth;
    for (SceneObject& tekst : tekstObjects) {
        place(tekst, tekstMesh, 0, texture_slot::test_picture);
        position(tekst, 0, 0, 0);
    }
    canyonMesh.loadFile("pool/iso/canyon.bin");
    canyonMesh.draw = drawSphereMapSmooth;
    place(canyonObject, canyonMesh, 0, texture_slot::mizzle);
    position(canyonObject, 0, 0, 0);
}

void build_scene_geometry() {
    build_volumes();
    build_dolphin();
    build_frames_and_tunnel();
    build_airships_and_columns();
    build_stored_meshes();
}
