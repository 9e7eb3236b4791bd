#pragma once
// The keys of a skin file's "BUTTONINFO" section in file order: every control the skin places.
// The skin reader answers one key at a time, so the list is read here from the file itself.

#include <QString>
#include <QStringList>

namespace kovrel::skinshot {

// Keys of `section` in `iniFile`, first occurrence only, names compared without regard to case
// (as the skin reader matches them). Empty when the file cannot be read or has no such section.
QStringList SectionKeys(const QString& iniFile, const QString& section);

} // namespace kovrel::skinshot
