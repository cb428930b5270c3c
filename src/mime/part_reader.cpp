#include "mime/part_reader.h"

namespace qb::mime {

void PartReader::problem(const std::string &part, const std::string &why) {
    context_.problems.push_back({nameOf(part), why});
}

void PartReader::requireSomethingRead() {
    if (partsRead_ > 0 || !firstFailure_)
        return;
    context_.problems.resize(problemsBefore_);
    throw *firstFailure_;
}

std::string PartReader::nameOf(const std::string &part) const {
    return place_.empty() ? part : place_ + " > " + part;
}

void PartReader::noteFailure(const std::string &part, const Failure &failure) {
    if (!firstFailure_)
        firstFailure_ = failure;
    problem(part, failure.description());
}

} // namespace qb::mime
