// Putting inspected rolls into stock: a roll's quantity is booked into the stock batch of its
// item, warehouse, dye lot and colour, and the roll remembers the batch.
#pragma once

#include "db/Connection.h"

#include <QString>

namespace StockPosting {

/// Books difference (the roll's quantity now minus what was booked before) for the roll into
/// iteminBatch and sets checkinfo.batchId. A roll booked for the first time adds one piece to
/// the batch. Runs inside the caller's transaction. False with error on a database error.
bool postRoll(Connection& conn, long long rollId, double difference, QString* error);
/// The same; throws DbError.
void post(Connection& conn, long long rollId, double difference);

} // namespace StockPosting
