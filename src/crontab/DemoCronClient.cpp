#include "DemoCronClient.h"

#include "TextContext.h"

#include <QCoro/QCoroFuture>
#include <QtConcurrent/QtConcurrentRun>

TEMPOLANE_TEXT_CONTEXT(DemoCronClient)

namespace Tempolane {

QString DemoCronClient::sampleText()
{
#ifdef Q_OS_MACOS
    const QString home = QStringLiteral("/Users/demo");
#else
    const QString home = QStringLiteral("/home/demo");
#endif
    return QStringLiteral("# %2\n"
                          "SHELL=/bin/zsh\n"
                          "\n"
                          "*/5 * * * * /usr/local/bin/php %1/Sites/example/artisan schedule:run\n"
                          "30 8 * * 1-5 %1/Scripts/daily-report.sh\n"
                          "# Tempolane disabled: 0 2 * * 0 %1/Scripts/archive.sh\n"
                          "@reboot %1/Scripts/start-services.sh\n")
        .arg(home, tr("Bestehende Einträge und Umgebungsvariablen bleiben erhalten"));
}

DemoCronClient::DemoCronClient(QString contents) : m_contents(std::move(contents))
{
    m_pool.setMaxThreadCount(1);
}

DemoCronClient::~DemoCronClient()
{
    m_pool.waitForDone();
}

QCoro::Task<std::expected<QString, CronClientError>> DemoCronClient::readCrontab()
{
    auto future = QtConcurrent::run(&m_pool, [this] { return m_contents; });
    const QString contents = co_await future;
    co_return contents;
}

QCoro::Task<std::expected<void, CronClientError>> DemoCronClient::writeCrontab(QString text)
{
    // The future is a local: GCC 12 destroys a temporary co_await operand that holds a
    // coroutine parameter twice.
    auto future = QtConcurrent::run(&m_pool, [this, text = std::move(text)] { m_contents = text; });
    co_await future;
    co_return std::expected<void, CronClientError>();
}

} // namespace Tempolane
