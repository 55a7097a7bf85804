// A page box as assistive technology sees it: a read-only document whose
// name is the page's first heading and whose text is the page's text in
// reading order (see page_reading.h). Only the page in view is shown, so a
// screen reader follows the reader's paging; figure boxes on a page stay
// plain widgets, their text being the page's.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace shell {

// Makes Qt's accessibility use the page boxes' interface. Once per program.
void installPageAccessibility();

// The interface for an object (the factory installPageAccessibility adds):
// null for anything but a page box of the window.
QAccessibleInterface* pageAccessible(const QString& className, QObject* object);

}  // namespace shell
