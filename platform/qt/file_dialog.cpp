#include "platform/qt/file_dialog.h"

#include <QFileDialog>
#include <QStringList>

namespace platform {

std::string with_default_extension(const std::string& path, const std::string& extension) {
    if (extension.empty() || path.empty()) return path;
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name.find('.') != std::string::npos) return path;
    return path + "." + extension;
}

std::string qt_filter_text(const FileFilter& filter) {
    std::string patterns = filter.patterns;
    for (char& c : patterns) {
        if (c == ';') c = ' ';
    }
    return filter.description + " (" + patterns + ")";
}

namespace {

std::optional<FileChoice> run(QWidget* owner, const FileDialogRequest& options, bool save) {
    QFileDialog dialog(owner);
    // The widget-based dialog behaves the same on every desktop and can be driven by tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !options.must_exist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.overwrite_prompt);
    // The list of filters shows each description as the program wrote it, without the patterns appended.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    QStringList filters;
    for (const FileFilter& filter : options.filters)
        filters << QString::fromLocal8Bit(qt_filter_text(filter));
    dialog.setNameFilters(filters);
    if (!options.default_extension.empty())
        dialog.setDefaultSuffix(QString::fromLocal8Bit(options.default_extension));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    FileChoice choice;
    choice.path =
        with_default_extension(files.front().toLocal8Bit().toStdString(), options.default_extension);
    // Depending on the Qt version the chosen filter comes back whole or as its description only.
    const QString chosen = dialog.selectedNameFilter();
    int index = static_cast<int>(filters.indexOf(chosen));
    for (int i = 0; index < 0 && i < static_cast<int>(options.filters.size()); ++i) {
        if (QString::fromLocal8Bit(options.filters[static_cast<std::size_t>(i)].description).simplified() ==
            chosen)
            index = i;
    }
    choice.filter_index = index < 0 ? 1 : index + 1;
    return choice;
}

} // namespace

std::optional<FileChoice> file_dialog(QWidget* owner, const FileDialogRequest& request) {
    return run(owner, request, request.save);
}

} // namespace platform
