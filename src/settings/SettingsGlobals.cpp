#include "settings/Settings.h"

namespace lumivar {

int g_bHomepageWatch = 0;
int g_nHomepageInterval = 2;
std::string g_strHomepageAddress = kDefaultHomepageAddress;

}  // namespace lumivar
