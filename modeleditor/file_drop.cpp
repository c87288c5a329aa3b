#include "modeleditor/file_drop.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace editor {

QString dropped_file(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return {};
    return urls.first().toLocalFile();
}

std::string foreign_importer_program() {
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/korvex");
    if (QFileInfo(beside).isExecutable()) return beside.toLocal8Bit().toStdString();
    return KX_KORVEX_BUILD_PROGRAM;
}

} // namespace editor
