#include "services/BuildConfiguration.h"

#ifndef ZENTARIS_UPDATE_BASE_URL
#error "ZENTARIS_UPDATE_BASE_URL must be defined by the build"
#endif
#ifndef ZENTARIS_PRODUCT_PAGE_URL
#error "ZENTARIS_PRODUCT_PAGE_URL must be defined by the build"
#endif
#ifndef ZENTARIS_SUPPORT_EMAIL
#error "ZENTARIS_SUPPORT_EMAIL must be defined by the build"
#endif

namespace zentaris {

std::string configuredUpdateBaseURL() { return ZENTARIS_UPDATE_BASE_URL; }
std::string configuredProductPageURL() { return ZENTARIS_PRODUCT_PAGE_URL; }
std::string configuredSupportEmail() { return ZENTARIS_SUPPORT_EMAIL; }

} // namespace zentaris
