#include "profile/JbzlForm.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/Command.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "store/ConnectionString.h"
#include "store/Schema.h"
#include "ui_JbzlForm.h"

namespace {

// Flat edits; the read-only ones look like the others.
constexpr const char* kEditStyle =
    "QLineEdit { border: 1px solid #7f7f7f; background-color: white; color: black; }";

}  // namespace

TJbzlForm::TJbzlForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TJbzlForm>()) {
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(428, 187);
    platform::setPixelFont(*this, 13);
    platform::setPixelFont(*ui_->Label1, 16, true);
    platform::setPixelFont(*ui_->Label8, 16, true);
    ui_->Panel2->setStyleSheet(QString::fromLatin1(kEditStyle));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    platform::connectCommand(ui_->SpeedButton1, &QToolButton::clicked, this,
                             &TJbzlForm::SpeedButton1Click);
    platform::connectCommand(ui_->SpeedButton2, &QToolButton::clicked, this,
                             &TJbzlForm::SpeedButton2Click);

    tables_.open();
    FormCreate();
}

TJbzlForm::~TJbzlForm() = default;

QLineEdit& TJbzlForm::companyNameEdit() { return *ui_->Edit1; }
QLineEdit& TJbzlForm::addressEdit() { return *ui_->Edit2; }
QLineEdit& TJbzlForm::contactEdit() { return *ui_->Edit3; }
QLineEdit& TJbzlForm::phoneEdit() { return *ui_->Edit4; }
QLineEdit& TJbzlForm::websiteEdit() { return *ui_->Edit5; }
QLineEdit& TJbzlForm::remarkEdit() { return *ui_->Edit6; }
QToolButton& TJbzlForm::saveButton() { return *ui_->SpeedButton1; }
QToolButton& TJbzlForm::cancelButton() { return *ui_->SpeedButton2; }

void TJbzlForm::FormCreate() {
    tables_.reread();
    showTexts(profile::readCompany(ADOQuery1));
}

void TJbzlForm::SpeedButton1Click() {
    profile::saveCompany(ADOQuery1, editTexts());
    platform::current().message(this, QStringLiteral("基本资料保存成功！"),
                                platform::MessageKind::Plain);
    close();
}

void TJbzlForm::SpeedButton2Click() { close(); }

profile::CompanyTexts TJbzlForm::editTexts() const {
    const QLineEdit* edits[] = {ui_->Edit1, ui_->Edit2, ui_->Edit3,
                                ui_->Edit4, ui_->Edit5, ui_->Edit6};
    profile::CompanyTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = edits[i]->text().toStdString();
    return texts;
}

void TJbzlForm::showTexts(const profile::CompanyTexts& texts) {
    QLineEdit* edits[] = {ui_->Edit1, ui_->Edit2, ui_->Edit3, ui_->Edit4, ui_->Edit5, ui_->Edit6};
    for (std::size_t i = 0; i < texts.size(); ++i)
        edits[i]->setText(QString::fromStdString(texts[i]));
}
