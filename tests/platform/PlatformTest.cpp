#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "platform/Application.h"
#include "platform/Command.h"
#include "platform/FileFilters.h"
#include "platform/Fonts.h"
#include "platform/FormActivation.h"
#include "platform/Language.h"
#include "platform/Modal.h"
#include "platform/QtPlatform.h"
#include "store/Error.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using platform::Answer;
using platform::MessageKind;

namespace {

// Whether text holds a Chinese character (and so is not left in English).
bool isChinese(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff; });
}

// A window with two commands, one that always fails.
class CommandWindow : public QWidget {
  public:
    void failing() {
        ++runs;
        throw store::StoreError("库存不足");
    }
    void take(int value) {
        if (value == 13) throw 13;
        taken = value;
    }
    int runs = 0;
    int taken = 0;
};

// An object whose handling of a user event throws.
class ThrowingObject : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) return QObject::event(event);
        ++runs;
        throw store::StoreError("数据库文件不存在");
    }
    int runs = 0;
};

}  // namespace

class PlatformTest : public QObject {
    Q_OBJECT

  private slots:
    // The test runs under LANG=C: the program is Chinese (China) all the same.
    void qtTextsAndDatesAreChineseWhateverTheMachinesLanguage() {
        QCOMPARE(QLocale().language(), QLocale::Chinese);
        QCOMPARE(QLocale().territory(), QLocale::China);
        QCOMPARE(QLocale().toString(QDate(2026, 12, 10), QLocale::ShortFormat),
                 QStringLiteral("2026/12/10"));
        QLineEdit edit(QStringLiteral("abc"));
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        int texts = 0;
        for (const QAction* action : menu->actions()) {
            if (action->isSeparator()) continue;
            ++texts;
            QVERIFY2(isChinese(action->text()), qPrintable(action->text()));
        }
        QVERIFY(texts > 0);
        QVERIFY(platform::useChinese(*qApp));  // a second call finds the texts loaded
    }

    void scriptedPlatformRecordsAndAnswersInOrder() {
        platform::ScriptedPlatform scripted;
        QCOMPARE(&platform::current(), &scripted);
        scripted.messageAnswers.enqueue(Answer::Cancel);
        scripted.saveFileNames.enqueue(QStringLiteral("/tmp/a.bak"));

        QCOMPARE(
            platform::current().message(nullptr, QStringLiteral("删除吗？"), MessageKind::Confirm),
            Answer::Cancel);
        QCOMPARE(platform::current().message(nullptr, QStringLiteral("好"), MessageKind::Plain),
                 Answer::Ok);  // queue empty: OK
        const QString filter = platform::backupFilter();
        QCOMPARE(platform::current().saveFileName(nullptr, QStringLiteral("data"), filter),
                 QStringLiteral("/tmp/a.bak"));
        QVERIFY(platform::current().saveFileName(nullptr, QString(), filter).isEmpty());
        QVERIFY(platform::current().openFileName(nullptr, filter).isEmpty());
        platform::current().openUrl(QStringLiteral("https://example.org/"));

        QCOMPARE(scripted.messages.size(), 2);
        QCOMPARE(scripted.messages[0].caption, QStringLiteral("提示"));
        QCOMPARE(scripted.messages[0].kind, MessageKind::Confirm);
        QCOMPARE(scripted.messageTexts(), QStringList({"删除吗？", "好"}));
        using D = platform::ScriptedPlatform::Dialog;
        QCOMPARE(scripted.dialogs,
                 QList<D>({D::Message, D::Message, D::SaveFile, D::SaveFile, D::OpenFile}));
        QCOMPARE(scripted.saveInitialNames, QStringList({"data", ""}));
        QCOMPARE(scripted.openedUrls, QStringList({"https://example.org/"}));
    }

    void scriptedPlatformRestoresThePreviousOne() {
        platform::Platform* before = &platform::current();
        {
            platform::ScriptedPlatform outer;
            {
                platform::ScriptedPlatform inner;
                QCOMPARE(&platform::current(), &inner);
            }
            QCOMPARE(&platform::current(), &outer);
        }
        QCOMPARE(&platform::current(), before);
    }

    // The application's last net, for an error that something other than a command lets out
    // of an event: shown, and the program goes on. (An event Qt itself made, a mouse click,
    // would leak what Qt's frames could not clean up on the way; commands never get there.)
    void uncaughtErrorIsShownAndTheProgramGoesOn() {
        platform::ScriptedPlatform scripted;
        ThrowingObject receiver;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&receiver, &event);
        QCoreApplication::sendEvent(&receiver, &event);

        QCOMPARE(receiver.runs, 2);
        QCOMPARE(scripted.messageTexts(), QStringList({"数据库文件不存在", "数据库文件不存在"}));
        QCOMPARE(scripted.messages[0].kind, MessageKind::Error);
    }

    void aCommandsErrorIsShownOnceAtItsEdge() {
        platform::ScriptedPlatform scripted;
        CommandWindow window;
        QPushButton* button = new QPushButton(QStringLiteral("go"), &window);
        QSpinBox* box = new QSpinBox(&window);
        platform::connectCommand(button, &QPushButton::clicked, &window, &CommandWindow::failing);
        platform::connectCommand(box, &QSpinBox::valueChanged, &window, &CommandWindow::take);
        window.show();

        // Signals emitted directly, not from an event: the application's last net is not
        // under them, so only the command's own edge can catch.
        button->click();
        QCOMPARE(scripted.messageTexts(), QStringList{QStringLiteral("库存不足")});
        QCOMPARE(scripted.messages[0].kind, MessageKind::Error);
        QCOMPARE(window.runs, 1);

        box->setValue(7);  // the next command works, with its signal's argument
        QCOMPARE(window.taken, 7);
        box->setValue(13);  // not a std::exception: still caught, with a message of its own
        QCOMPARE(scripted.messages.size(), 2);
        QVERIFY(!scripted.messages[1].text.isEmpty());
        button->click();
        QCOMPARE(window.runs, 2);
        QCOMPARE(scripted.messages.size(), 3);
    }

    void theSaveDialogAsksNoQuestionAboutTheChosenName() {
        platform::QtPlatform qt;
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("x"));
        QFile file(chosen);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        bool asked = false;
        bool dialogSeen = false;
        QStringList filters;
        QStringList buttonTexts;
        // Fires while a question, if one is asked, waits for its answer; dies with the test.
        QTimer questionWatch;
        questionWatch.setSingleShot(true);
        connect(&questionWatch, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked = true;
                if (QAbstractButton* yes = box->button(QMessageBox::Yes))
                    yes->click();
                else
                    box->accept();
            }
        });
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            dialogSeen = true;
            // Qt's own texts are Chinese whatever the machine's language (the test runs under
            // LANG=C), and so is the filter.
            filters = dialog->nameFilters();
            for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
                if (button->isVisible() && !button->text().isEmpty())
                    buttonTexts.append(button->text());
            dialog->selectFile(chosen);
            questionWatch.start(0);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const QString name = qt.saveFileName(nullptr, QString(), platform::backupFilter());
        QVERIFY(dialogSeen);
        QCOMPARE(filters,
                 QStringList({QStringLiteral("备份文件 (*.bak)"), QStringLiteral("所有文件 (*)")}));
        QVERIFY(!buttonTexts.isEmpty());
        for (const QString& text : buttonTexts) QVERIFY2(isChinese(text), qPrintable(text));
        QVERIFY2(!asked, "the dialog asked about replacing a file the caller does not write");
        QCOMPARE(QFileInfo(name).fileName(), QStringLiteral("x"));
    }

    // The exports' dialog starts on the .xls and tells which format the user left chosen.
    void theWorkbookDialogReportsTheChosenFormat_data() {
        QTest::addColumn<bool>("chooseXlsx");
        QTest::newRow("default") << false;
        QTest::newRow("xlsx") << true;
    }

    void theWorkbookDialogReportsTheChosenFormat() {
        QFETCH(bool, chooseXlsx);
        platform::QtPlatform qt;
        QTemporaryDir dir;
        QStringList filters;
        QString startedOn;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            filters = dialog->nameFilters();
            startedOn = dialog->selectedNameFilter();
            if (chooseXlsx) dialog->selectNameFilter(platform::xlsxFilter());
            dialog->selectFile(dir.filePath(QStringLiteral("进货")));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QString chosenFilter;
        const QString name =
            qt.saveFileName(nullptr, QString(), platform::excelFilter(), &chosenFilter);
        QCOMPARE(filters, QStringList({QStringLiteral("Excel 97-2003 工作簿 (*.xls)"),
                                       QStringLiteral("Excel 工作簿 (*.xlsx)"),
                                       QStringLiteral("所有文件 (*)")}));
        QCOMPARE(startedOn, platform::xlsFilter());
        QCOMPARE(chosenFilter, chooseXlsx ? platform::xlsxFilter() : platform::xlsFilter());
        QCOMPARE(QFileInfo(name).fileName(), QStringLiteral("进货"));
    }

    void messageBoxesShowTheirKind_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("icon");
        QTest::addColumn<bool>("hasCancel");
        QTest::newRow("plain") << int(MessageKind::Plain) << int(QMessageBox::NoIcon) << false;
        QTest::newRow("confirm") << int(MessageKind::Confirm) << int(QMessageBox::Warning) << true;
        QTest::newRow("info") << int(MessageKind::Info) << int(QMessageBox::Information) << false;
        QTest::newRow("question") << int(MessageKind::Question) << int(QMessageBox::Question)
                                  << true;
        QTest::newRow("error") << int(MessageKind::Error) << int(QMessageBox::Critical) << false;
    }

    void messageBoxesShowTheirKind() {
        QFETCH(int, kind);
        QFETCH(int, icon);
        QFETCH(bool, hasCancel);
        platform::QtPlatform qt;
        QMessageBox* seen = nullptr;
        QString caption;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (seen == nullptr) return;
            caption = seen->windowTitle();
            buttons = seen->standardButtons();
            QCOMPARE(int(seen->icon()), icon);
            seen->button(hasCancel ? QMessageBox::Cancel : QMessageBox::Ok)->click();
        });
        const Answer answer = qt.message(nullptr, QStringLiteral("文本"), MessageKind(kind));
        QVERIFY(seen != nullptr);
        QCOMPARE(caption, QStringLiteral("提示"));
        const auto expected = hasCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                        : QMessageBox::StandardButtons(QMessageBox::Ok);
        QCOMPARE(buttons, expected);
        QCOMPARE(answer, hasCancel ? Answer::Cancel : Answer::Ok);
    }

    void desktopFolderFollowsTheUserDirectories() {
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
        QDir(home.path()).mkpath(QStringLiteral(".config"));
        QDir(home.path()).mkpath(QStringLiteral("桌面"));
        QFile dirs(home.path() + "/.config/user-dirs.dirs");
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DESKTOP_DIR=\"$HOME/桌面\"\n");
        dirs.close();

        const QString folder = platform::QtPlatform().desktopFolder();
        qputenv("HOME", oldHome);
        if (oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
        QCOMPARE(folder, home.path() + QStringLiteral("/桌面"));
    }

    void showModalReturnsWhenTheWindowHides() {
        QWidget window;
        QTimer::singleShot(0, &window, [&] {
            QVERIFY(window.isVisible());
            QCOMPARE(window.windowModality(), Qt::ApplicationModal);
            window.hide();
        });
        platform::showModal(window);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.windowModality(), Qt::NonModal);
    }

    void showModalReturnsWhenTheWindowCloses() {
        QWidget window;
        QTimer::singleShot(0, &window, [&] { window.close(); });
        platform::showModal(window);
        QVERIFY(!window.isVisible());
    }

    void songTiStandsForACjkSerifFace() {
        platform::installFonts();
        // The program's own Song face first, made from Noto Serif CJK SC, which stands in when
        // the face is missing.
        QCOMPARE(
            QFont::substitutes(QStringLiteral("宋体")),
            QStringList({QStringLiteral("quenvar song"), QStringLiteral("noto serif cjk sc")}));
        const QFont font = platform::pixelFont("宋体", 15, true);
        QCOMPARE(font.pixelSize(), 15);
        QVERIFY(font.bold());
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Quenvar Song"));
    }

    // Which activations re-read a window's table: those that come from another form only.
    void formActivationCountsOnlyOtherForms() {
        platform::FormActivation& watch = platform::FormActivation::instance();
        QWidget mainForm;
        QWidget otherForm;
        QMessageBox box;
        QFileDialog dialog;
        const auto activate = [](QWidget& window) {
            QEvent event(QEvent::WindowActivate);
            QCoreApplication::sendEvent(&window, &event);
        };
        struct Step {
            QWidget* before;
            bool expected;
            const char* what;
        };
        const Step steps[] = {
            {&otherForm, true, "another form closed"},
            {&box, false, "a message box closed"},
            {&dialog, false, "a file dialog closed"},
            {&mainForm, false, "back from another program"},
        };
        for (const Step& step : steps) {
            activate(*step.before);
            activate(mainForm);
            QVERIFY2(watch.cameFromAnotherForm(&mainForm) == step.expected, step.what);
        }
        QVERIFY(!watch.cameFromAnotherForm(&otherForm));  // asked outside its activation
    }
};

int main(int argc, char** argv) {
    platform::Application application(argc, argv);
    PlatformTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PlatformTest.moc"
