#include "button_keys.h"

#include <QFile>
#include <QSet>
#include <QStringConverter>
#include <QTextStream>

namespace kovrel::skinshot {

QStringList SectionKeys(const QString& iniFile, const QString& section) {
    QFile file(iniFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    QStringList keys;
    QSet<QString> seen;
    bool inSection = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u';')) {
            continue;
        }
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inSection || equals <= 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        if (!key.isEmpty() && !seen.contains(key.toCaseFolded())) {
            seen.insert(key.toCaseFolded());
            keys.append(key);
        }
    }
    return keys;
}

} // namespace kovrel::skinshot
