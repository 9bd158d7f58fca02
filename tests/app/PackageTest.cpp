// The Debian package as a user gets it, unpacked into a root mounted read-only and run from there.
#include "TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// The exit status, or -1 for a crash or a hang; the output, errors included, in `output`.
int Execute(const QString& program, const QStringList& arguments, QByteArray* output = nullptr,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    if (output)
        *output = process.readAll();
    return ended ? process.exitCode() : -1;
}

// Root may write anywhere: only a read-only mount shows that the programs never write beside themselves.
bool MountReadOnly(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    return ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0
        && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
        && ::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0
        && ::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}

TEST(PackageTest, TheDebInstallsTheLinuxWayAndItsProgramsRunReadOnlyOnTheInstalledDemoArchive)
{
    QTemporaryDir work;
    const QString out = work.filePath(QStringLiteral("out")), root = work.filePath(QStringLiteral("root"));
    QByteArray output;
    const QString config = QStringLiteral(CARVESTONE_BUILD_DIR "/CPackConfig.cmake");
    ASSERT_EQ(Execute(QStringLiteral(CARVESTONE_CPACK_COMMAND), {"--config", config, "-B", out}, &output), 0)
        << output.toStdString();
    const QStringList debs = QDir(out).entryList({QStringLiteral("carvestone_*.deb")});
    ASSERT_EQ(debs.size(), 1);
    const QString deb = out + QLatin1Char('/') + debs.first();
    ASSERT_EQ(Execute(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root}), 0);
    for (const char* file : {"usr/bin/carvestone", "usr/bin/carvestone-cli", "usr/share/carvestone/AllFiles.txt",
                             "usr/share/carvestone/demo/patch_d2.mpq", "usr/share/applications/carvestone.desktop",
                             "usr/share/mime/packages/carvestone.xml",
                             "usr/share/icons/hicolor/scalable/apps/carvestone.svg",
                             "usr/share/icons/hicolor/48x48/apps/carvestone.png",
                             "usr/share/man/man1/carvestone.1.gz", "usr/share/man/man1/carvestone-cli.1.gz",
                             "usr/share/bash-completion/completions/carvestone-cli",
                             "usr/share/doc/carvestone/copyright", "usr/share/doc/carvestone/changelog.gz",
                             "usr/share/doc/carvestone/README.md", "usr/share/doc/carvestone/docs/images/main-window.png"})
        EXPECT_TRUE(QFileInfo::exists(root + QLatin1Char('/') + QLatin1String(file))) << file;
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/usr/bin/AllFiles.txt")));
    Execute(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Depends")}, &output);
    for (const char* package : {"libqt6widgets6", "libqt6svg6", "libstorm9", "qt6-qpa-plugins"})
        EXPECT_TRUE(output.contains(package)) << output.toStdString();
    // The desktop file files the program under Development; so does the package.
    Execute(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Section")}, &output);
    EXPECT_EQ(output.trimmed(), "devel");
    if (!QStandardPaths::findExecutable(QStringLiteral("lintian")).isEmpty()) {
        Execute(QStringLiteral("lintian"), {QStringLiteral("--allow-root"), deb}, &output);
        static const QRegularExpression fault(QStringLiteral("^[EW]: .*$"), QRegularExpression::MultilineOption);
        EXPECT_FALSE(fault.match(QString::fromUtf8(output)).hasMatch()) << output.toStdString();
    }

    const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(root).constData(), MNT_DETACH); });
    if (!MountReadOnly(root))
        GTEST_SKIP() << "a read-only mount needs root";
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CARVESTONE_CONFIG_DIR"), home.path());
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("WINEPREFIX"));
    const QString cli = root + QStringLiteral("/usr/bin/carvestone-cli");
    const QString program = root + QStringLiteral("/usr/bin/carvestone");
    const QString demo = root + QStringLiteral("/usr/share/carvestone/demo/patch_d2.mpq");

    // Help and version come from the installed programs, the window's without a display.
    QProcessEnvironment noDisplay = environment;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        noDisplay.remove(QString::fromLatin1(name));
    EXPECT_EQ(Execute(program, {QStringLiteral("--version")}, &output, noDisplay), 0);
    EXPECT_EQ(output, "carvestone 1.02\n");
    EXPECT_EQ(Execute(cli, {QStringLiteral("list"), QStringLiteral("--help")}, &output, environment), 0);
    EXPECT_TRUE(output.startsWith("usage: carvestone-cli list ARCHIVE")) << output.toStdString();

    // The listing file is found in share/carvestone without being named.
    EXPECT_EQ(Execute(cli, {QStringLiteral("list"), demo}, &output, environment), 0);
    EXPECT_TRUE(output.contains("data\\global\\excel\\Weapons.txt")) << output.toStdString();

    // The demo archive is the default game archive of a build.
    const QString project = TestFiles::Write(home.filePath(QStringLiteral("Demo.mod")),
                                             "Carvestone Project File Version 1.0\ndata\\global\\excel\\Weapons.txt\n");
    TestFiles::Write(home.filePath(QStringLiteral("Weapons.txt")), "name\tmindam\r\nThorn Sickle\t45\r\n");
    EXPECT_EQ(Execute(cli, {QStringLiteral("build"), project}, &output, environment), 0) << output.toStdString();
    EXPECT_GT(QFileInfo(home.filePath(QStringLiteral("Demo.mpq"))).size(), QFileInfo(demo).size() / 2);

    // A second start hands the project to the running program as the file manager would, then leaves.
    TestFiles::Write(home.filePath(QStringLiteral("Carvestone.ini")),
                     "[Settings]\nMODs%20Path=" + QFile::encodeName(home.path()) + "/\n");
    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(program, {project});
    ASSERT_TRUE(first.waitForStarted());
    int second = -1;
    for (int attempt = 0; attempt < 50 && second != 0; ++attempt) {
        QThread::msleep(100);
        second = Execute(program, {project}, nullptr, environment);
        ASSERT_EQ(first.state(), QProcess::Running) << first.readAllStandardError().toStdString();
    }
    EXPECT_EQ(second, 0);
    first.terminate();
    EXPECT_TRUE(first.waitForFinished(10000));
}

} // namespace
