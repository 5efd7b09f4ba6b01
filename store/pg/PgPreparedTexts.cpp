#include "store/pg/PgPreparedTexts.h"

#include <utility>

namespace store::pg {

PreparedTexts::Plan PreparedTexts::plan(const std::string& text, bool changeable) {
    if (const auto known = preparedIndex_.find(text); known != preparedIndex_.end()) {
        prepared_.splice(prepared_.begin(), prepared_, known->second);
        return {known->second->name, false, {}};
    }
    const auto seen = seenIndex_.find(text);
    if (seen == seenIndex_.end()) {
        seen_.push_front(text);
        seenIndex_.emplace(seen_.front(), seen_.begin());
        if (seen_.size() > remembered_) {
            seenIndex_.erase(seen_.back());
            seen_.pop_back();
        }
        return {};
    }
    if (!changeable || capacity_ == 0) return {};
    Plan plan;
    if (prepared_.size() >= capacity_) {
        preparedIndex_.erase(prepared_.back().text);
        plan.deallocate = std::move(prepared_.back().name);
        prepared_.pop_back();
    }
    const auto node = seen->second;
    seenIndex_.erase(seen);
    prepared_.push_front({std::move(*node), "jxc_" + std::to_string(++names_)});
    seen_.erase(node);
    preparedIndex_.emplace(prepared_.front().text, prepared_.begin());
    plan.name = prepared_.front().name;
    plan.prepare = true;
    return plan;
}

void PreparedTexts::forget(const std::string& text) noexcept {
    const auto known = preparedIndex_.find(text);
    if (known == preparedIndex_.end()) return;
    const auto node = known->second;
    preparedIndex_.erase(known);
    prepared_.erase(node);
}

void PreparedTexts::clear() noexcept {
    preparedIndex_.clear();
    prepared_.clear();
    seenIndex_.clear();
    seen_.clear();
}

}  // namespace store::pg
