#pragma once

#include <QDate>
#include <QTime>
#include <string>

namespace sales {

// The text stored in 销售日期: "yyyy-MM-dd HH:mm:ss", zero-padded, so that the text order of
// the stored sales is their time order whatever the machine's language.
std::string saleDateText(const QDate& date, const QTime& time);

}  // namespace sales
