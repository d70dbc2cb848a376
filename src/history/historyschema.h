#pragma once

#include <QString>

class HistoryConnection;

// The schema's versions, oldest first:
//   1  reads, blocks (name and values, kept once) and the blocks of each read;
//   2  a read's uid, block and value totals and pending flag; a block's
//      folded name for the filter; the indexes the history window uses;
//   3  block names (as bytes, NUL included) and their keys in a table of
//      their own, referred to by blocks and by the blocks of reads; a read's
//      refusal by the server (a read set aside).
constexpr int kLatestSchemaVersion = 3;

// Runs the migrations from the stored version up to `targetVersion`, all in
// one transaction; a store written by a newer program is refused.
bool migrateSchema(HistoryConnection &connection, int targetVersion);

// The form of a block name that the name filter compares.
QString blockNameKey(const QString &name);
