// The entry points of the PDF writer's module (pdf_module.h); its other
// symbols come from the program that loads it.
#include "chapter_pdf.h"
#include "pdf_module.h"

extern "C" {

Q_DECL_EXPORT const char* courseviewers_pdf_version() { return VIEWERS_VERSION; }

Q_DECL_EXPORT shell::ChapterPdfWriter courseviewers_pdf_writer() { return &shell::writeChapterPdf; }

}
