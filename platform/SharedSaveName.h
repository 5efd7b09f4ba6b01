#pragma once

#include <QString>

class QWidget;

// The save dialog that the backup and the purchase export share: it starts with the name last
// chosen in either command.
class SharedSaveName {
  public:
    // Shows the save dialog; the chosen name, or empty text when cancelled. A chosen name is
    // remembered for the next time.
    // selectedFilter as Platform::saveFileName() takes it.
    QString ask(QWidget* owner, const QString& filter, QString* selectedFilter = nullptr);
    const QString& lastName() const noexcept { return lastName_; }

  private:
    QString lastName_;
};
