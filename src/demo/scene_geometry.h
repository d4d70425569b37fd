// The demo's meshes and scene objects as plain data: built, placed and told
// how to draw, with no GL context needed. Precalculation calls these in
// stages, loading the files among them in the archive's order, and compiles
// the display lists after each stage.
#pragma once

// The sphere, basket and pole isosurfaces and their objects.
void build_volumes();
// The dolphin from pool/dolphin.lwo, turned over.
void build_dolphin();
// The three cube frames and the two tunnel segments with their eight rings each.
void build_frames_and_tunnel();
// Two hexagonal airship prisms for sixteen ships, and the two columns.
void build_airships_and_columns();
// The text and the canyon from their stored mesh files.
void build_stored_meshes();

// All of the above in start-up order.
void build_scene_geometry();
