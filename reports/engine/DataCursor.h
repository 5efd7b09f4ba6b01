#pragma once

#include <QString>

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
};

}  // namespace reports
