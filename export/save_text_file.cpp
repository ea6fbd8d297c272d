#include "export/save_text_file.h"

#include <QSaveFile>
#include <QStandardPaths>
#include <QStringEncoder>

#include "app/text_codec.h"

namespace textfile {

gcode::Text DesktopFolderPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty()) return {};
    if (!folder.endsWith(u'/')) folder.append(u'/');
    return app::ToText(folder);
}

bool WriteWholeFile(const gcode::Text& path, const std::vector<std::byte>& bytes) {
    if (path.empty()) return false;
    // QSaveFile encodes the name for the file system as the platform does (UTF-8 on Linux).
    QSaveFile file(app::ToQString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (size > 0 && file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        return false;  // the temporary file is removed, the target untouched
    }
    return file.commit();
}

}  // namespace textfile
