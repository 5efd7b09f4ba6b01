#include <gtest/gtest.h>
#include <QFont>
#include <QGuiApplication>

// The engine measures texts, which needs the application's fonts.
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
