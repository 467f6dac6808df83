#pragma once

// Where the product's web service lives and how long a request to it may stall. The host is
// deployment configuration, taken from the environment variable MELVARIN_SERVICE_URL (scheme and
// host, e.g. "http://127.0.0.1:8080"); when it is unset or unusable the online features are off
// and nothing is sent.

#include <QString>
#include <QUrl>

namespace Core {

// The service URL with the given path ("/Services/..."), or an empty URL when no service is
// configured.
QUrl ServiceUrl(const QString& path);

QUrl UploadUrl();  // the usage upload
QUrl NewsUrl();    // the news request

// A request that transfers nothing for this long is aborted, so no wait on the service (and so
// no shutdown) can hang on a silent server. Adjustable for tests; safe to call from any thread.
int ServiceTransferTimeoutMs();
void SetServiceTransferTimeoutMs(int milliseconds);

}  // namespace Core
