#include "pdf/Rc4.h"

#include <nettle/arcfour.h>

namespace pv {

std::string rc4(std::string_view key, std::string_view data) {
    if (key.empty() || key.size() > ARCFOUR_MAX_KEY_SIZE) throw Rc4KeyError();
    arcfour_ctx ctx;
    arcfour_set_key(&ctx, key.size(), reinterpret_cast<const uint8_t*>(key.data()));
    std::string out(data.size(), '\0');
    arcfour_crypt(&ctx, data.size(), reinterpret_cast<uint8_t*>(out.data()),
                  reinterpret_cast<const uint8_t*>(data.data()));
    return out;
}

} // namespace pv
