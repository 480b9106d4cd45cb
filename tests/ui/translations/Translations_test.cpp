#include "Emulation.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace {

struct Message {
    std::string context;
    std::string source;
    bool operator<(const Message &other) const
    {
        return context != other.context ? context < other.context : source < other.source;
    }
};

// The messages of a translation file, each with its translation when it is
// finished (neither unfinished, obsolete nor vanished) and not empty.
std::map<Message, std::string> readTranslations(const QString &path)
{
    std::map<Message, std::string> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    std::string context;
    Message message;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText().toStdString();
        } else if (xml.name() == QLatin1String("source")) {
            message = {context, xml.readElementText().toStdString()};
        } else if (xml.name() == QLatin1String("translation")) {
            const bool finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            const std::string text = xml.readElementText().toStdString();
            messages[message] = finished ? text : std::string();
        }
    }
    return messages;
}

} // namespace

// Every text the code passes through the translator has a finished English
// translation in the file the build compiles; the texts are collected from
// the sources as they stand, so a new or changed text without one fails here.
TEST(Translations, EveryTextTheCodeShowsHasItsEnglishTranslation)
{
    SKIP_UNDER_EMULATION("QProcess starts programs with clone(CLONE_PIDFD), which the emulator refuses");
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString fresh = scratch.filePath(QStringLiteral("fresh.ts"));
    const QString sourceDir = QStringLiteral(FIELDMON_SOURCE_DIR);
    QStringList arguments = {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                             QStringLiteral("-source-language"), QStringLiteral("zh_CN")};
    for (const char *dir : {"app", "base", "pl", "video", "color", "mcu", "wireless", "platform", "ui"})
        arguments << sourceDir + QLatin1Char('/') + QLatin1String(dir);
    arguments << QStringLiteral("-ts") << fresh;
    QProcess lupdate;
    lupdate.start(QStringLiteral(FIELDMON_LUPDATE), arguments);
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();

    const std::map<Message, std::string> used = readTranslations(fresh);
    const std::map<Message, std::string> english =
        readTranslations(sourceDir + QStringLiteral("/ui/translations/English.ts"));
    ASSERT_FALSE(used.empty());
    std::set<std::string> missing;
    for (const auto &entry : used) {
        const auto found = english.find(entry.first);
        if (found == english.end() || found->second.empty())
            missing.insert(entry.first.context + ": " + entry.first.source);
    }
    std::string list;
    for (const std::string &text : missing)
        list += "\n  " + text;
    EXPECT_TRUE(missing.empty()) << missing.size() << " text(s) without an English translation "
                                 << "(run scripts/translations.sh, then translate):" << list;
}
