#include "pdf/StandardSecurity.h"

#include "pdf/Md5.h"
#include "pdf/Rc4.h"
#include "pdf/SecurityPadding.h"

namespace pv {

namespace {

std::string bytesOf(const std::array<std::uint8_t, 16>& digest, std::size_t count) {
    return std::string(reinterpret_cast<const char*>(digest.data()), count);
}

} // namespace

std::int32_t permissionValue(TPDFCtiptoOptions options) {
    std::int32_t p = -64;
    if (inSet(options, coPrint)) p += 4;
    if (inSet(options, coModifyStructure)) p += 8;
    if (inSet(options, coCopyInformation)) p += 16;
    if (inSet(options, coModifyAnnotation)) p += 32;
    return p;
}

std::string padPassword(std::string_view password) {
    std::string out(password.substr(0, 32));
    out.append(reinterpret_cast<const char*>(kSecurityPadding.data()), 32 - out.size());
    return out;
}

StandardSecurity::StandardSecurity(std::string_view ownerPassword, std::string_view userPassword,
                                   std::int32_t permissions, std::string_view documentId)
    : p_(permissions) {
    const std::string user = padPassword(userPassword);
    const std::string owner = padPassword(ownerPassword.empty() ? userPassword : ownerPassword);
    o_ = rc4(bytesOf(Md5().add(owner).digest(), 5), user);

    const auto pu = static_cast<std::uint32_t>(p_);
    const char pBytes[4] = {static_cast<char>(pu & 0xFF), static_cast<char>((pu >> 8) & 0xFF),
                            static_cast<char>((pu >> 16) & 0xFF),
                            static_cast<char>((pu >> 24) & 0xFF)};
    key_ = bytesOf(
        Md5().add(user).add(o_).add(std::string_view(pBytes, 4)).add(documentId).digest(), 5);

    u_ = rc4(key_, std::string_view(reinterpret_cast<const char*>(kSecurityPadding.data()), 32));
}

std::string StandardSecurity::ObjectKey(int objectNumber) const {
    const auto n = static_cast<std::uint32_t>(objectNumber);
    const char tail[5] = {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF),
                          static_cast<char>((n >> 16) & 0xFF), 0, 0};
    return bytesOf(Md5().add(key_).add(std::string_view(tail, 5)).digest(), 10);
}

std::string StandardSecurity::Encrypt(int objectNumber, std::string_view data) const {
    if (data.empty()) return {};
    return rc4(ObjectKey(objectNumber), data);
}

} // namespace pv
