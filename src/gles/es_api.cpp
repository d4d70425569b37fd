#include "gles/es_api.h"

namespace gles {

Api& es() {
    static Api api;
    return api;
}

bool api_load(ProcAddress address, std::string* missing) {
#define HEDEN_ES_LOAD(name)                                                   \
    es().name = reinterpret_cast<decltype(es().name)>(address("gl" #name)); \
    if (!es().name) {                                                         \
        *missing = "gl" #name;                                              \
        return false;                                                       \
    }
    HEDEN_ES_FUNCTIONS(HEDEN_ES_LOAD)
#undef HEDEN_ES_LOAD
    return true;
}

}  // namespace gles
