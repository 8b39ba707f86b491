#pragma once

// Files over HTTP File Upload (XEP-0363): a slot from the server's upload service, the bytes
// PUT over HTTPS streamed from the local file, then the file message (see XmppMessages.h).
// Downloads GET any https URL into a temporary file next to the target, renamed at the end.
// Every transfer has a match key; CancelUploadOrDownloadNOW stops it from any thread.

#include "XmppFeature.h"

#include "ZSsdk.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QSslCertificate>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
class QUrl;
class QTimer;
class QXmppDiscoveryIq;
class QXmppHttpUploadRequestIq;
class QXmppHttpUploadSlotIq;
class QXmppUploadRequestManager;

namespace zsxmpp {

// Reasons of the transfer answers besides the header's: see README.md.
enum FileReason : int {
    ReasonCancelled = ZS_REASON_CANCELLED, // cancelled, logged out
    ReasonTooLarge = 413, // over the upload service's size limit
};

// A new upload as the request function hands it to the engine's thread.
struct UploadRequest
{
    unsigned int key = 0;
    QString msgId;
    QString receiver; // as the caller named it
    QString path;
    qint64 size = 0;
    int msgType = 0;
    QString userData;
    // Link card (type 8).
    QString title, imgPath, desc, url;
};

struct DownloadRequest
{
    unsigned int key = 0;
    QString sender, receiver, url, path, msgId;
    int msgType = 0;
};

// Keys of the running transfers, shared with the callers' threads. A cancel is accepted
// exactly while the key is here, and the transfer then ends with ReasonCancelled.
namespace transferKeys {
void add(unsigned int key);
// Marks the key cancelled; false when no transfer has it.
bool cancel(unsigned int key);
// Takes the key out (it can no longer be cancelled); true when it had been cancelled.
bool take(unsigned int key);
bool cancelled(unsigned int key);
} // namespace transferKeys

class Files : public Feature
{
public:
    explicit Files(Session &session);
    ~Files() override;

    void attach(QXmppClient *client) override;
    void online(bool resumed) override;
    void offline() override;
    void detach() override;

    void upload(const UploadRequest &request);
    void download(const DownloadRequest &request);
    // The key was marked cancelled: stop that transfer now.
    void cancel(unsigned int key);

private:
    struct Transfer;
    enum class Discovery { Unknown, Running, Done };

    Transfer *find(unsigned int key) const;
    // The uploads waiting for the upload service, by key (a copy: ending one changes the map).
    std::vector<unsigned int> waitingForSlot() const;
    QNetworkAccessManager *network();
    QNetworkRequest httpsRequest(const QUrl &url) const;
    void discover();
    void onItems(const QXmppDiscoveryIq &iq);
    void onInfo(const QXmppDiscoveryIq &iq);
    void discoveryDone();
    // Asks slots for the uploads that wait, once connected and the service is known.
    void serveWaiting();
    void requestSlot(Transfer &t);
    // The transfer whose slot request that was, no longer waiting for it; null when none.
    Transfer *slotAnswered(const QString &requestId);
    void onSlot(const QXmppHttpUploadSlotIq &slot);
    void onSlotFailed(const QXmppHttpUploadRequestIq &request);
    void onPutFinished(Transfer &t);
    // False when the transfer ended.
    bool onGetData(Transfer &t);
    void onGetFinished(Transfer &t);
    void sendFileMessage(Transfer &t);
    void progress(Transfer &t, qint64 done);
    void finalProgress(Transfer &t);
    // Ends the transfer with one answer (none after UnInitialize); a cancel wins over any
    // other outcome.
    void end(unsigned int key, int reason, const char *status);
    void endAll(int reason, const char *status, bool onlyWaiting);

    QXmppClient *m_client = nullptr;
    QXmppUploadRequestManager *m_uploads = nullptr;
    QNetworkAccessManager *m_network = nullptr;
    QList<QSslCertificate> m_cas;
    std::map<unsigned int, std::unique_ptr<Transfer>> m_transfers;
    QHash<QString, unsigned int> m_slotRequests; // IQ id -> key

    Discovery m_discovery = Discovery::Unknown;
    QString m_service; // the upload service's JID, once found
    QString m_itemsRequest;
    QSet<QString> m_infoRequests;
    QTimer *m_discoveryTimer = nullptr;
};

} // namespace zsxmpp
