// The Debian package as a user gets it: made by CPack, unpacked with
// dpkg-deb into an empty root, mounted read-only, and both programs run
// from there against the demo archive the package carries.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

struct Outcome
{
    int exitCode = -1;
    QByteArray out, err;
};

Outcome Execute(const QString& program, const QStringList& arguments, const QString& folder = {},
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(), int timeoutMs = 120000)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    Outcome run;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// Root may write anywhere, so only a read-only mount shows that the
// installed programs never write beside themselves.
bool MountReadOnly(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    return ::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0
        && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
        && ::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0
        && ::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}

class PackageTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        work = new QTemporaryDir;
        const Outcome made = Execute(QStringLiteral(CARVESTONE_CPACK_COMMAND),
                                 {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), work->filePath("out")},
                                 QStringLiteral(CARVESTONE_BUILD_DIR));
        const QStringList debs = QDir(work->filePath("out")).entryList({QStringLiteral("carvestone_*.deb")});
        packError = QString::fromLocal8Bit(made.out + made.err);
        if (made.exitCode != 0 || debs.size() != 1)
            return;
        deb = work->filePath("out/" + debs.first());
        root = work->filePath("root");
        if (Execute(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root}).exitCode != 0)
            deb.clear();
    }
    static void TearDownTestSuite()
    {
        ::umount2(QFile::encodeName(root).constData(), MNT_DETACH);
        delete work;
    }

    void SetUp() override
    {
        if (deb.isEmpty())
            FAIL() << "cpack made no package: " << packError.toStdString();
    }

    static QProcessEnvironment Environment(const QString& configFolder)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CARVESTONE_CONFIG_DIR"), configFolder);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.remove(QStringLiteral("WINEPREFIX"));
        environment.insert(QStringLiteral("HOME"), configFolder);
        return environment;
    }

    static inline QTemporaryDir* work = nullptr;
    static inline QString deb, root, packError;
};

TEST_F(PackageTest, TheLayoutIsTheLinuxWayAndTheDependenciesNameTheRuntimePackages)
{
    for (const char* file : {"usr/bin/carvestone", "usr/bin/carvestone-cli", "usr/share/carvestone/AllFiles.txt",
                             "usr/share/carvestone/demo/patch_d2.mpq", "usr/share/applications/carvestone.desktop",
                             "usr/share/mime/packages/carvestone.xml",
                             "usr/share/icons/hicolor/scalable/apps/carvestone.svg",
                             "usr/share/icons/hicolor/48x48/apps/carvestone.png"})
        EXPECT_TRUE(QFileInfo::exists(root + QLatin1Char('/') + QLatin1String(file))) << file;
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/usr/bin/AllFiles.txt")));

    const QString depends = QString::fromLatin1(
        Execute(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QStringLiteral("Depends")}).out);
    for (const char* package : {"libqt6widgets6", "libqt6svg6", "libstorm9", "qt6-qpa-plugins"})
        EXPECT_TRUE(depends.contains(QLatin1String(package))) << depends.toStdString();
}

TEST_F(PackageTest, TheInstalledProgramsRunReadOnlyOnTheInstalledDemoArchive)
{
    if (!MountReadOnly(root))
        GTEST_SKIP() << "a read-only mount needs root";
    QTemporaryDir home;
    const QProcessEnvironment environment = Environment(home.path());
    const QString cli = root + QStringLiteral("/usr/bin/carvestone-cli");
    const QString demo = root + QStringLiteral("/usr/share/carvestone/demo/patch_d2.mpq");

    // The listing file is found in share/carvestone without being named.
    const Outcome listed = Execute(cli, {QStringLiteral("list"), demo}, {}, environment);
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains("data\\global\\excel\\Weapons.txt")) << listed.out.toStdString();

    // The demo archive is the default game archive of a build.
    const QString mods = home.filePath(QStringLiteral("MODs"));
    ASSERT_EQ(Execute(cli, {QStringLiteral("new"), QStringLiteral("Demo"), QStringLiteral("--mods"), mods}, {}, environment).exitCode, 0);
    const QString project = mods + QStringLiteral("/Demo/Demo.mod");
    ASSERT_EQ(Execute(cli, {QStringLiteral("extract"), demo, QStringLiteral("data\\global\\excel\\Weapons.txt"),
                            mods + QStringLiteral("/Demo")}, {}, environment).exitCode, 0);
    ASSERT_EQ(Execute(cli, {QStringLiteral("add"), project, QStringLiteral("data\\global\\excel\\Weapons.txt")}, {},
                      environment).exitCode, 0);
    const Outcome built = Execute(cli, {QStringLiteral("build"), project}, {}, environment);
    EXPECT_EQ(built.exitCode, 0) << built.out.toStdString() << built.err.toStdString();
    EXPECT_TRUE(QFileInfo(mods + QStringLiteral("/Demo/Demo.mpq")).size() > QFileInfo(demo).size() / 2);

    // The program starts with the project, and a second start hands it a
    // project as the file manager would, then leaves.
    QFile settings(home.filePath(QStringLiteral("Carvestone.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Settings]\nMODs%20Path=" + QFile::encodeName(mods) + "/\n");
    settings.close();
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(root + QStringLiteral("/usr/bin/carvestone"), {project});
    ASSERT_TRUE(program.waitForStarted());
    Outcome second;
    for (int attempt = 0; attempt < 50 && second.exitCode != 0; ++attempt) {
        QThread::msleep(100);
        second = Execute(root + QStringLiteral("/usr/bin/carvestone"), {project}, {}, environment, 20000);
        ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
    }
    EXPECT_EQ(second.exitCode, 0);
    program.terminate();
    EXPECT_TRUE(program.waitForFinished(10000));
}

} // namespace
