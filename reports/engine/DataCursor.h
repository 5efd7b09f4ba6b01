#pragma once

#include <QString>
#include <vector>

namespace reports {

// What the report engine needs of a data set: it walks the rows and reads display texts; it
// never writes.
class DataCursor {
  public:
    virtual ~DataCursor() = default;

    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    virtual int recordCount() const = 0;
    // The text a list would show for the field in the current row. A field the data set lacks,
    // or a value that cannot be read, gives an empty text.
    virtual QString displayText(const QString& field) const = 0;

    // A field named once, before the rows are walked, and then read by its number: a long report
    // reads the same fields on every row. By default the number stands for the name.
    virtual int fieldNumber(const QString& field) {
        for (std::size_t i = 0; i < named_.size(); ++i)
            if (named_[i] == field) return int(i);
        named_.push_back(field);
        return int(named_.size() - 1);
    }
    virtual QString displayText(int fieldNumber) const {
        return fieldNumber >= 0 && std::size_t(fieldNumber) < named_.size()
                   ? displayText(named_[std::size_t(fieldNumber)])
                   : QString();
    }

  private:
    std::vector<QString> named_;
};

}  // namespace reports
