#pragma once
// Dot cells as text for failure messages, and the Debian fonts the tests draw from.

#include "core/glyph/dot_cell.h"

#include <optional>
#include <string>

namespace fonts {
inline const std::string kZenhei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";
inline const std::string kMicrohei = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
inline const std::string kUming = "/usr/share/fonts/truetype/arphic/uming.ttc";
inline const std::string kSong = "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf";
inline const std::string kKai = "/usr/share/fonts/truetype/arphic-gkai00mp/gkai00mp.ttf";
inline const std::string kStrike12 = "/usr/share/fonts/X11/misc/wenquanyi_9pt.pcf";
inline const std::string kGuobiao16 = "/usr/share/fonts/X11/misc/guob16.pcf.gz";
} // namespace fonts

// Rows of '#' and '.'.
std::string picture(const hz::DotCell& cell);

struct InkRows {
    int top;
    int bottom;
};
// The first and last rows holding ink; nothing for a blank cell.
std::optional<InkRows> inkRows(const hz::DotCell& cell);
