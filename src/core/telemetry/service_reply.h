#pragma once

// Bounds on a reply of the product's web service, so that no server can keep the program waiting
// or make it hold an answer without end. Call them on the reply's thread right after the request
// is sent; an aborted reply finishes with QNetworkReply::OperationCanceledError.

#include <QtGlobal>

class QNetworkReply;

namespace Core {

// Aborts the reply when it has not finished within the transfer timeout. The network layer's own
// timeout fires only while nothing arrives, so a server that trickles would escape it.
void LimitReplyDuration(QNetworkReply* reply);

// Aborts the reply as soon as its body is found to be longer than `maxBytes` (by its declared
// length or by what has arrived), so little more than that is ever held.
void LimitReplyBody(QNetworkReply* reply, qint64 maxBytes);

// Drops the body as it arrives, for a caller that does not read it, and aborts the reply once
// more than `maxBytes` have come: an answer that long is not one worth waiting for.
void DiscardReplyBody(QNetworkReply* reply, qint64 maxBytes);

}  // namespace Core
