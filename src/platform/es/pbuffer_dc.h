// The device context of a WGL pbuffer is handed out once and given back
// once: the same bookkeeping over GLX (x11/wgl_emulation.cpp) and over ES
// (es/pictures.cpp). `Pbuffer` has `dc` and `dc_handed_out`; null: no
// pbuffer.
#pragma once

namespace es_pictures {

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

}  // namespace es_pictures
