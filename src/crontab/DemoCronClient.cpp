#include "DemoCronClient.h"

#include <QCoro/QCoroFuture>
#include <QtConcurrent/QtConcurrentRun>

namespace Tempolane {

QString DemoCronClient::sampleText()
{
    return QStringLiteral(
        "# Bestehende Einträge und Umgebungsvariablen bleiben erhalten\n"
        "SHELL=/bin/zsh\n"
        "\n"
        "*/5 * * * * /usr/local/bin/php /Users/demo/Sites/example/artisan schedule:run\n"
        "30 8 * * 1-5 /Users/demo/Scripts/daily-report.sh\n"
        "# Tempolane disabled: 0 2 * * 0 /Users/demo/Scripts/archive.sh\n"
        "@reboot /Users/demo/Scripts/start-services.sh\n");
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
