// The page's WebGL 2 context, made on the canvas with the first window.
#pragma once

#include <string>

namespace web {

// Makes the WebGL context current and starts the GL library on it (once);
// false, with the reason kept for gl_problem(), when the browser has none.
bool gl_start();
std::string gl_problem();

}  // namespace web
