#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "generator/CPictureProcessor.h"
#include "platform/CString.h"

// The img elements of a body text: which pictures of the workspace they
// name, and the text with each one's published size, variants and loading
// hints added. Only attributes the element lacks are added and only src
// may change (to the published file); alt, class, title and the others stay
// as written.
class CBodyImages {
public:
    // One img start tag: where it lies in the text and its src value.
    struct CImg {
        size_t nStart = 0;
        size_t nEnd = 0; // after the '>'
        std::optional<std::string_view> src;
        size_t nSrcStart = 0; // the value's extent, quotes included
        size_t nSrcEnd = 0;
        bool bHasSize = false; // a width or a height
        bool bHasSrcset = false;
        bool bHasLoading = false;
        bool bHasDecoding = false;
        bool bHasAlt = false;
    };
    static std::vector<CImg> FindImages(std::string_view text);

    // The file of the images folder a src value names: a plain file name
    // (percent-escapes and "&amp;" decoded), none for an address, a path or
    // a fragment.
    static std::optional<CString> GetImageName(std::string_view src);

    // The text with its img elements completed. lookup gives the published
    // picture of an image name (null: a picture the run does not publish,
    // left as it is). nPagePictures counts the page's img elements so far:
    // all but the first are loaded lazily.
    using CLookup = std::function<const CPicture*(const CString& name)>;
    static CString Rewrite(std::string_view text, const CLookup& lookup, int& nPagePictures);
};
