// Attribute conditions of a search: bits that must be set, clear, or of which one must be.
#pragma once

#include "search/customcriteria.h"

#include <cstdint>

enum TFileAttributeStatus { fsIgnore = 0, fsSet = 1, fsUnset = 2, fsAnySet = 3, fsAnyUnset = 4 };

// Four masks over the attribute word; each bit is in at most one of them. A property index n
// stands for bit 1 << (n - 1). After construction hidden, system and directory entries are
// excluded. Not thread-safe: a search works on its own copy.
class TAttributesCriteria : public TCustomCriteria {
public:
    void Assign(const TCustomCriteria *source) override;
    void Clear() override;
    const char *ClassName() const override { return "TAttributesCriteria"; }

    TFileAttributeStatus GetAttributeStatus(int index) const;
    void SetAttributeStatus(int index, TFileAttributeStatus status);

#define XZ_ATTRIBUTE_PROPERTY(Name, Index)                                                         \
    TFileAttributeStatus Name() const {                                                            \
        return GetAttributeStatus(Index);                                                          \
    }                                                                                              \
    void Set##Name(TFileAttributeStatus status) {                                                  \
        SetAttributeStatus(Index, status);                                                         \
    }
    XZ_ATTRIBUTE_PROPERTY(Readonly, 1)
    XZ_ATTRIBUTE_PROPERTY(Hidden, 2)
    XZ_ATTRIBUTE_PROPERTY(System, 3)
    XZ_ATTRIBUTE_PROPERTY(Directory, 5)
    XZ_ATTRIBUTE_PROPERTY(Archive, 6)
    XZ_ATTRIBUTE_PROPERTY(Device, 7)
    XZ_ATTRIBUTE_PROPERTY(Normal, 8)
    XZ_ATTRIBUTE_PROPERTY(Temporary, 9)
    XZ_ATTRIBUTE_PROPERTY(SparseFile, 10)
    XZ_ATTRIBUTE_PROPERTY(ReparsePoint, 11)
    XZ_ATTRIBUTE_PROPERTY(Compressed, 12)
    XZ_ATTRIBUTE_PROPERTY(Offline, 13)
    XZ_ATTRIBUTE_PROPERTY(NotContentIndexed, 14)
    XZ_ATTRIBUTE_PROPERTY(Encrypted, 15)
    XZ_ATTRIBUTE_PROPERTY(Virtual, 17)
#undef XZ_ATTRIBUTE_PROPERTY

    uint32_t OnAttributes() const {
        return fOnAttributes;
    }
    uint32_t OffAttributes() const {
        return fOffAttributes;
    }
    uint32_t AnyOnAttributes() const {
        return fAnyOnAttributes;
    }
    uint32_t AnyOffAttributes() const {
        return fAnyOffAttributes;
    }
    // Every bit that any of the four masks mentions.
    uint32_t UsedAttributes() const {
        return fOnAttributes | fOffAttributes | fAnyOnAttributes | fAnyOffAttributes;
    }

    bool Matches(uint32_t attr) const;

private:
    uint32_t fOnAttributes = 0;
    uint32_t fOffAttributes = 0x16;
    uint32_t fAnyOnAttributes = 0;
    uint32_t fAnyOffAttributes = 0;
};
