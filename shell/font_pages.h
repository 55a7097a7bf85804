// The font files FreeType maps are tens of megabytes (the CJK faces); every
// glyph drawn maps the file's pages around it into the process, and they stay
// counted against it long after the glyph is in Qt's cache. Start-up lets
// them go once its first page is on the screen; the page cache keeps the
// file, so a later glyph costs a minor fault.
#pragma once

namespace shell {

// Unmaps the pages of the read-only font file mappings from this process.
// Returns how many mappings it touched.
int releaseFontFilePages();

}  // namespace shell
