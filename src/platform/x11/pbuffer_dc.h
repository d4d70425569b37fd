// The device context of a WGL pbuffer is handed out once and given back
// once: the same bookkeeping over GLX (wgl_emulation.cpp) and over ES
// (headless.cpp). `Pbuffer` has `dc` and `dc_handed_out`; null: no pbuffer.
#pragma once

namespace x11 {

template <typename Pbuffer>
void* pbuffer_dc_hand_out(Pbuffer* p) {
    if (!p) return nullptr;
    p->dc_handed_out = true;
    return &p->dc;
}

template <typename Pbuffer>
int pbuffer_dc_give_back(Pbuffer* p, void* dc) {
    if (!p || dc != &p->dc || !p->dc_handed_out) return 0;
    p->dc_handed_out = false;
    return 1;
}

}  // namespace x11
