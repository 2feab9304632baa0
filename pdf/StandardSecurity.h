#pragma once

#include "pdf/PDFTypes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pv {

// The permission value of the standard security handler: all reserved high
// bits set, then one bit per granted option.
std::int32_t permissionValue(TPDFCtiptoOptions options);

// The first 32 bytes of the password, completed to 32 with the standard padding.
std::string padPassword(std::string_view password);

// The standard security handler, revision 2 (40-bit RC4): the owner and user
// values and the document key, computed once per document, and the per-object
// encryption of strings and streams.
class StandardSecurity {
public:
    // `documentId` holds the 16 bytes of the document ID.
    StandardSecurity(std::string_view ownerPassword, std::string_view userPassword,
                     std::int32_t permissions, std::string_view documentId);

    const std::string& O() const { return o_; }
    const std::string& U() const { return u_; }
    const std::string& Key() const { return key_; }
    std::int32_t Permissions() const { return p_; }

    // The 10-byte RC4 key of one object (generation 0).
    std::string ObjectKey(int objectNumber) const;
    std::string Encrypt(int objectNumber, std::string_view data) const;

private:
    std::int32_t p_;
    std::string o_;
    std::string u_;
    std::string key_;
};

} // namespace pv
