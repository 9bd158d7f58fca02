// The bash completion installed with the package, run by bash with Debian's bash-completion, against the verbs
// and options that the built carvestone-cli itself lists: a verb or an option added to one and not the other fails.
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QString BashCompletion = QStringLiteral("/usr/share/bash-completion/bash_completion");

QString Output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// What bash offers after the words typed so far, the last of them being completed; sorted.
QStringList Completions(const QStringList& typed)
{
    const QString script = QStringLiteral("source %1; source %2; COMP_WORDS=(%3); COMP_CWORD=%4; "
                                          "COMP_LINE=\"${COMP_WORDS[*]}\"; COMP_POINT=${#COMP_LINE}; "
                                          "_carvestone_cli; printf '%s\\n' \"${COMPREPLY[@]}\"")
                               .arg(BashCompletion, QStringLiteral(CARVESTONE_COMPLETION_PATH),
                                    QStringLiteral("carvestone-cli ") + typed.join(' ') + (typed.last().isEmpty() ? "''" : ""))
                               .arg(typed.size());
    QStringList offered = Output(QStringLiteral("bash"), {"-c", script}).split('\n', Qt::SkipEmptyParts);
    offered.sort();
    return offered;
}

QStringList Sorted(QStringList words)
{
    words.sort();
    return words;
}

TEST(CompletionTest, BashOffersTheVerbsAndEachVerbsOptionsThatTheProgramLists)
{
    if (!QFileInfo::exists(BashCompletion))
        GTEST_SKIP() << "no bash-completion on this machine";
    const QString usage = Output(QStringLiteral(CARVESTONE_CLI_PATH), {"--help"});
    QStringList verbs;
    for (const QString& line : usage.section(QStringLiteral("verbs:\n"), 1).split('\n', Qt::SkipEmptyParts))
        verbs.append(line.trimmed().section(' ', 0, 0));
    ASSERT_FALSE(verbs.isEmpty());
    EXPECT_EQ(Completions({""}), Sorted(verbs + QStringList{"help"}));
    EXPECT_EQ(Completions({"b"}), QStringList({"build", "build-files"}));
    EXPECT_EQ(Completions({"--"}), QStringList({"--help", "--version"}));
    EXPECT_EQ(Completions({"help", "ins"}), QStringList({"install"}));

    static const QRegularExpression option(QStringLiteral("^  (--[a-z-]+)"), QRegularExpression::MultilineOption);
    for (const QString& verb : verbs) {
        QStringList listed;
        for (const QRegularExpressionMatch& match : option.globalMatch(Output(QStringLiteral(CARVESTONE_CLI_PATH), {verb, "--help"})))
            listed.append(match.captured(1));
        EXPECT_EQ(Completions({verb, "--"}), Sorted(listed)) << verb.toStdString();
    }
}

} // namespace
