#include "pst/pff_application.h"

#include "pst/pff_error.h"
#include "pst/pff_namespace.h"
#include "pst/pff_profile.h"

#include <strings.h>

namespace qb {

PffApplication::PffApplication(std::shared_ptr<PffStoreCatalog> catalog, std::string profileFolder)
    : catalog_(std::move(catalog)), profileFolder_(std::move(profileFolder)) {}

std::shared_ptr<outlook::Namespace> PffApplication::GetNamespace(const std::string &type) {
    if (strcasecmp(type.c_str(), "MAPI") != 0)
        throw PffFailure("The namespace type \"" + type + "\" is not supported: use \"MAPI\".",
                         pff_failure::invalidArgument);
    if (!namespace_)
        namespace_ = std::make_shared<PffNamespace>(catalog_, ProfileStorePaths(profileFolder_));
    return namespace_;
}

} // namespace qb
