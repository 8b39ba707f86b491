#pragma once

#include "XmppFeature.h"

namespace zsxmpp {

class Presence : public Feature
{
public:
    using Feature::Feature;
};

} // namespace zsxmpp
