// Arbitrary bytes as a prepared page's object stream: reading must not crash,
// hang or read outside the stream. What reads must write back to a stream
// that reads again to the same objects, written again to the same bytes.
#include "report/model/ByteStream.h"
#include "report/model/FrfError.h"
#include "report/prepared/PreparedObject.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Objects = std::vector<std::unique_ptr<pv::TfrView>>;

std::string write(const Objects& objects) {
    pv::ByteStream s;
    pv::BeginPreparedStream(s);
    for (const auto& object : objects)
        pv::WritePrepared(s, *object);
    return s.bytes();
}

Objects read(const std::string& bytes) {
    pv::ByteStream s(bytes);
    return pv::ReadPreparedObjects(s);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Objects objects;
    try {
        objects = read(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const pv::FrfFormatError&) {
        return 0;
    }
    const std::string first = write(objects);
    Objects again;
    try {
        again = read(first);
    } catch (const pv::FrfFormatError&) {
        std::abort(); // what was written must read
    }
    if (again.size() != objects.size() || write(again) != first) std::abort();
    return 0;
}
