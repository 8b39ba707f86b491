// Runs every registered XMPP engine test class against one Prosody. $TQ_XMPP_TEST=<Class>
// runs one class only.

#include "XmppTest.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rc = runRegisteredTests(argc, argv, "TQ_XMPP_TEST");
    XmppServer::stopIfStarted();
    XmppFederation::stopIfStarted();
    return rc;
}
