#pragma once

#include <QCoreApplication>
#include <QString>

namespace Tempolane {

// Looks a text up in Qt's translation tables under one context, with the German text as key.
// A file declares its context once (`constexpr TextContext tr{"Cli"};`) and calls `tr("…")`.
class TextContext final
{
public:
    constexpr explicit TextContext(const char* context) : m_context(context) {}

    QString operator()(const char* text) const
    {
        return QCoreApplication::translate(m_context, text);
    }

    const char* context() const { return m_context; }

private:
    const char* m_context;
};

} // namespace Tempolane
