#include "gl/pixel_format.h"

#include "log/log.h"
#include "platform/wgl.h"

void pixel_format_set(platform::Handle dc, int format, const platform::PixelFormatRequest& request,
                      const char* caller) {
    if (format == 0)
        error_box("%sChoosePixelFormat(0x%x,0x%x); \nreturned an errorcode %i", caller, platform::handle_print(dc),
                  platform::address_print(&request), platform::last_error());
    if (!platform::set_pixel_format(dc, format, request))
        error_box("%sSetPixelFormat(0x%x,0x%x,0x%x); \nreturned an errorcode %i", caller, platform::handle_print(dc),
                  static_cast<unsigned>(format), platform::address_print(&request), platform::last_error());
}

std::vector<int> format_attributes(std::initializer_list<int> drawable, int color_bits,
                                   std::initializer_list<int> extra) {
    std::vector<int> attributes(drawable);
    attributes.insert(attributes.end(), {wgl::color_bits, color_bits, wgl::alpha_bits, 8, wgl::depth_bits, 16,
                                         wgl::stencil_bits, 8, wgl::double_buffer, 1});
    attributes.insert(attributes.end(), extra);
    attributes.push_back(0);
    return attributes;
}

FormatChoice format_choose(platform::Handle dc, const std::vector<int>& attributes) {
    const float no_float_attributes[] = {0, 0};
    FormatChoice choice;
    choice.valid = gl_ext.wglChoosePixelFormatARB(reinterpret_cast<void*>(dc), attributes.data(), no_float_attributes,
                                                  1, &choice.format, &choice.count);
    return choice;
}
