// The bits of the file attribute word that directory entries carry in the search.
#pragma once

#include <cstdint>

// Bit values of the attribute word (the long-standing desktop convention the criteria use).
inline constexpr uint32_t faReadOnly = 0x1;
inline constexpr uint32_t faHidden = 0x2;
inline constexpr uint32_t faSystem = 0x4;
inline constexpr uint32_t faDirectory = 0x10;
inline constexpr uint32_t faArchive = 0x20;
inline constexpr uint32_t faDevice = 0x40;
inline constexpr uint32_t faNormal = 0x80;
inline constexpr uint32_t faTemporary = 0x100;
inline constexpr uint32_t faSparseFile = 0x200;
inline constexpr uint32_t faReparsePoint = 0x400;
inline constexpr uint32_t faCompressed = 0x800;
inline constexpr uint32_t faOffline = 0x1000;
inline constexpr uint32_t faNotContentIndexed = 0x2000;
inline constexpr uint32_t faEncrypted = 0x4000;
inline constexpr uint32_t faVirtual = 0x10000;

// Bits that only a stat of the entry tells; the others come from the directory read itself.
inline constexpr uint32_t kAttributesNeedingStat =
    faReadOnly | faSparseFile | faCompressed | faEncrypted;
