#include "demo/scene_state.h"

SceneState scene_state;
