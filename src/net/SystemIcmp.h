// The system's ICMP echo and name service. The system part is chosen at link time: the ICMP
// library on Windows, a ping socket (or, with the right, a raw socket) elsewhere.
#pragma once

#include "ports/Icmp.h"

namespace lumivar {

class CSystemIcmp : public IIcmp {
public:
    std::unique_ptr<IEchoSession> OpenEcho() override;
};

}  // namespace lumivar
