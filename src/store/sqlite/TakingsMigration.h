#pragma once

class Database;

// Brings the takings records of data.db up to this program, once for each version of data/takings.sql (its
// fingerprint is kept in PRAGMA user_version): the lines gain their sale_id column, takings.sql runs, and the sales
// stored before there were records get records built from their lines (as the server's schema script does):
// - paid lines grouped by receipt number and time, paid in cash; receipt number 0 is a settlement of credit when
//   credit lines were paid at that very time (its customer the first of them), otherwise a sale without a number;
// - credit lines grouped by customer and time, on account to that customer.
// Records from before there were till sessions gain their (empty) session_id column.
// The lines then carry their record's id. All of it is one transaction: a failure is reported and leaves the file
// as it was, to be tried again at the next start. A file without the program's tables, or one that cannot be
// written, is left alone.
void MigrateTakings(Database& db);
