#include "profile/records/CompanyProfile.h"

#include "store/Query.h"
#include "store/Retry.h"

namespace profile {

CompanyTexts readCompany(const store::Query& query) {
    CompanyTexts texts;
    if (query.currentIndex() < 0) return texts;
    for (std::size_t i = 0; i < kCompanyColumns.size(); ++i)
        texts[i] = query.fieldText(kCompanyColumns[i]);
    return texts;
}

void saveCompany(store::Query& query, const CompanyTexts& texts) {
    store::retryOnConflict(query.connection(), [&] {
        if (query.isEmpty())
            query.append();
        else
            query.edit();
        try {
            for (std::size_t i = 0; i < kCompanyColumns.size(); ++i)
                query.setFieldText(kCompanyColumns[i], texts[i]);
            query.post();
        } catch (...) {
            // The reports read this query: a half-written row must not stay in it.
            query.cancel();
            throw;
        }
    });
}

}  // namespace profile
