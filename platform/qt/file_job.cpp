#include "platform/qt/file_job.h"

#include <QEventLoop>
#include <QLocale>
#include <QProgressDialog>
#include <QTimer>

#include <memory>
#include <thread>

namespace platform {

std::int32_t run_file_job(QWidget* owner, const std::string& text, const FileProgress& progress,
                          const std::function<std::int32_t()>& job) {
    QEventLoop loop;
    std::int32_t result = 0;
    std::thread worker([&] {
        result = job();
        // Queued to the loop's thread; it quits the loop once that runs, even if it runs later.
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });

    std::unique_ptr<QProgressDialog> box;
    const QString label = QString::fromStdString(text);
    auto update = [&] {
        if (!box) return;
        const std::uint64_t total = progress.total;
        const std::uint64_t done = std::min<std::uint64_t>(progress.done, total);
        const QLocale locale;
        box->setLabelText(label + "\n" + locale.toString(qulonglong(done)) + " of " +
                          locale.toString(qulonglong(total)) + " bytes");
        box->setValue(total ? int(done * 1000 / total) : 0);
    };
    QTimer ticker;
    ticker.setInterval(100);
    QObject::connect(&ticker, &QTimer::timeout, update);
    QTimer::singleShot(kProgressDelayMs, &loop, [&] {
        box = std::make_unique<QProgressDialog>(label, QString(), 0, 1000, owner);
        box->setObjectName("file_progress");
        box->setWindowModality(Qt::WindowModal);
        box->setMinimumDuration(0);
        box->setAutoClose(false);
        box->setAutoReset(false);
        update();
        box->show();
        ticker.start();
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    ticker.stop();
    return result;
}

} // namespace platform
