#include "bitmapeditor/file_drop.h"

#include <QMimeData>
#include <QUrl>

namespace bmpedit {

std::optional<std::string> dropped_file(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return std::nullopt;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile().toLocal8Bit().toStdString();
    return std::nullopt;
}

} // namespace bmpedit
