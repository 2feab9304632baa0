#!/usr/bin/env python3
"""Writes the C++ constants of the enhanced-metafile format from data/emf-records.txt.

Usage: generate_emf_records.py INPUT OUTPUT
Record types become `pv::emf::EMR_*`, stock objects `pv::emf::stock::*`, related constants
`pv::emf::*`, and every layout field an offset `pv::emf::layout::RECORD::Field` (dots and
colons in field names become underscores).
"""
import re
import sys


def ident(text):
    return re.sub(r"[^A-Za-z0-9_]", "_", text)


def main(src, dst):
    section = None
    types, stock, consts, layouts = [], [], [], {}
    with open(src, encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if line.startswith("# ["):
                section = line[3:line.index("]")]
                continue
            if not line or line.startswith("#"):
                continue
            if section == "record-types":
                name, value = line.split("=")
                types.append((name, int(value, 0)))
            elif section == "layouts":
                rec, field, offset, size, ftype = line.split(";")[:5]
                layouts.setdefault(rec, []).append((ident(field), int(offset), size, ftype))
            elif section == "stock-objects":
                name, value = line.split("=")
                stock.append((name, int(value, 0)))
            elif section == "related-constants":
                name, value = line.split("=")
                consts.append((name, int(value, 0)))
    if len(types) < 100 or not layouts or not stock:
        sys.exit("emf-records.txt: sections missing")

    out = ["// Generated from data/emf-records.txt by platform/generate_emf_records.py. Do not edit.",
           "#pragma once", "", "#include <cstddef>", "#include <cstdint>", "",
           "namespace pv::emf {", ""]
    for name, value in types:
        out.append(f"constexpr std::uint32_t {name} = {value};")
    out += ["", "// Name of a record type, or nullptr for a number the format does not define.",
            "constexpr const char* recordTypeName(std::uint32_t type) {", "    switch (type) {"]
    for name, value in types:
        out.append(f"    case {value}: return \"{name}\";")
    out += ["    default: return nullptr;", "    }", "}", "", "namespace stock {"]
    for name, value in stock:
        out.append(f"constexpr std::uint32_t {name} = {value};")
    out += ["} // namespace stock", ""]
    for name, value in consts:
        out.append(f"constexpr std::uint32_t {name} = {value:#x};")
    out += ["", "namespace layout {"]
    for rec, fields in layouts.items():
        out.append(f"namespace {rec} {{")
        for field, offset, size, ftype in fields:
            out.append(f"constexpr std::size_t {field} = {offset}; // {size} bytes, {ftype}")
        out.append(f"}} // namespace {rec}")
    out += ["} // namespace layout", "", "} // namespace pv::emf", ""]
    with open(dst, "w", encoding="utf-8") as f:
        f.write("\n".join(out))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
