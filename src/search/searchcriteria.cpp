// All criteria of a search bundled, and the per-entry test in its cheap-to-costly order.
#include "search/searchcriteria.h"

#include "search/fileattributes.h"

void TSearchCriteria::Assign(const TCustomCriteria *source) {
    const TSearchCriteria &other = AssignSource(source, *this);
    fFiles.Assign(&other.fFiles);
    fAttributes.Assign(&other.fAttributes);
    fTimeStamp.Assign(&other.fTimeStamp);
    fSize.Assign(&other.fSize);
    fContent.Assign(&other.fContent);
}

void TSearchCriteria::Clear() {
    fFiles.Clear();
    fAttributes.Clear();
    fTimeStamp.Clear();
    fSize.Clear();
    fContent.Clear();
}

bool TSearchCriteria::NeedsDetails() const {
    return (fAttributes.UsedAttributes() & kAttributesNeedingStat) != 0 || fSize.Active() ||
           fTimeStamp.Active();
}

bool TSearchCriteria::Matches(std::string_view folder, TFindData &findData) const {
    if ((fAttributes.UsedAttributes() & kAttributesNeedingStat) && !findData.LoadDetails())
        return false;
    if (!fAttributes.Matches(findData.Attributes()))
        return false;
    if (fSize.Active() && (!findData.LoadDetails() || !fSize.Matches(findData.Size())))
        return false;
    if (fTimeStamp.Active() &&
        (!findData.LoadDetails() ||
         !fTimeStamp.Matches(findData.CreationTime(), findData.LastWriteTime(),
                             findData.LastAccessTime())))
        return false;
    if (!fFiles.Matches(folder, findData.Name()))
        return false;
    if (fContent.Phrase().empty())
        return true;
    if (findData.DirFd() >= 0)
        return fContent.MatchesAt(findData.DirFd(), findData.Name());
    contentPath_.assign(folder);
    contentPath_.append(findData.Name());
    return fContent.Matches(contentPath_);
}
