#include "image/texture.h"

#include "log/log.h"
#include "gl/glext.h"

std::uint32_t texture_table[texture_slots];

void texture_create(const std::uint8_t* pixels, int width, int height, int slot, int clamp) {
    if (slot < 0 || slot >= texture_slots) {
        log_print("texture_create: no slot %i \n", slot);
        return;
    }
    // Nothing uses a slot's previous texture once the slot is re-created.
    if (texture_table[slot] != 0) glDeleteTextures(1, &texture_table[slot]);
    glGenTextures(1, &texture_table[slot]);
    glBindTexture(GL_TEXTURE_2D, texture_table[slot]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    if (clamp) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
}
