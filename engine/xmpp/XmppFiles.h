#pragma once

#include "XmppFeature.h"

namespace zsxmpp {

class Files : public Feature
{
public:
    using Feature::Feature;
};

} // namespace zsxmpp
