// The program started where there is no display says so and how to run it, instead of Qt's
// abort that suggests reinstalling.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#ifdef AMMERLIN_BIN
TEST(ProgramStart, WithoutADisplayItSaysHowToRun)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(AMMERLIN_BIN), {});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 2);
    const QString said = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(said.contains(QString::fromUtf8("需要图形显示"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("xvfb-run"))) << said.toStdString();
    EXPECT_FALSE(said.contains(QStringLiteral("Reinstalling"))) << said.toStdString();
}
#endif
