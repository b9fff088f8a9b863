-- The takings records of data.db: built into empty.db after schema.sql, and run again by the migration (it is
-- compiled into the program) whenever this text changes, so every statement here may run on a database that
-- has its objects already. Money is whole cents. Sale records and tenders are never changed: the triggers below
-- refuse every UPDATE and DELETE on them, and every insert that would replace one.

-- One row per completed sale, refund or settlement of credit. sale_id is the record's UUID, made by the till.
CREATE TABLE IF NOT EXISTS sale_records (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  sale_id TEXT NOT NULL UNIQUE,
  till TEXT NOT NULL,
  receipt_no INTEGER,
  recorded_at TEXT NOT NULL,
  kind TEXT NOT NULL,
  customer_id INTEGER,
  customer_name TEXT,
  subtotal_cents INTEGER NOT NULL,
  discount_cents INTEGER NOT NULL,
  total_cents INTEGER NOT NULL,
  original_sale_id TEXT,
  unreferenced INTEGER NOT NULL DEFAULT 0,
  reason TEXT
);
CREATE INDEX IF NOT EXISTS sale_records_recorded_at ON sale_records (recorded_at);
CREATE INDEX IF NOT EXISTS sale_records_till_receipt_no ON sale_records (till, receipt_no);

-- How a record was paid: its tenders add up to its total. Cash also keeps what was handed over and the change.
CREATE TABLE IF NOT EXISTS tenders (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  sale_id TEXT NOT NULL,
  position INTEGER NOT NULL,
  tender_type TEXT NOT NULL,
  amount_cents INTEGER NOT NULL,
  handed_cents INTEGER,
  change_cents INTEGER
);
CREATE INDEX IF NOT EXISTS tenders_sale_id ON tenders (sale_id);
-- Whether a payment type was used (the list of types, the trigger that keeps a used one).
CREATE INDEX IF NOT EXISTS tenders_tender_type ON tenders (tender_type);

-- The shop's payment types. Cash, Card and Account (credit sales) are built in; a type a tender used stays.
CREATE TABLE IF NOT EXISTS tender_types (
  code TEXT PRIMARY KEY,
  name TEXT NOT NULL,
  enabled INTEGER NOT NULL DEFAULT 1,
  built_in INTEGER NOT NULL DEFAULT 0,
  position INTEGER NOT NULL
);
INSERT OR IGNORE INTO tender_types (code, name, enabled, built_in, position) VALUES
  ('Cash', 'Cash', 1, 1, 1), ('Card', 'Card', 1, 1, 2), ('Account', 'Account', 1, 1, 3);

-- The lines of a record carry its sale_id (the migration adds the columns to older databases first).
CREATE INDEX IF NOT EXISTS odemeler_sale_id ON odemeler (sale_id);
CREATE INDEX IF NOT EXISTS veresiyeler_sale_id ON veresiyeler (sale_id);

CREATE TRIGGER IF NOT EXISTS sale_records_never_updated BEFORE UPDATE ON sale_records
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS sale_records_never_deleted BEFORE DELETE ON sale_records
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS tenders_never_updated BEFORE UPDATE ON tenders
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS tenders_never_deleted BEFORE DELETE ON tenders
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
-- REPLACE (INSERT OR REPLACE, REPLACE INTO) deletes the row it meets without firing the triggers above: a row
-- that would meet a stored record, by id or by sale_id, is refused before it is written. (NEW.id is -1 here when
-- the insert leaves the id to the table, and the ids it gives start at 1.)
CREATE TRIGGER IF NOT EXISTS sale_records_never_replaced BEFORE INSERT ON sale_records
WHEN EXISTS (SELECT 1 FROM sale_records WHERE id = NEW.id)
  OR EXISTS (SELECT 1 FROM sale_records WHERE sale_id = NEW.sale_id)
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS tenders_never_replaced BEFORE INSERT ON tenders
WHEN EXISTS (SELECT 1 FROM tenders WHERE id = NEW.id)
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS tender_types_used_stay BEFORE DELETE ON tender_types
WHEN OLD.built_in <> 0 OR EXISTS (SELECT 1 FROM tenders WHERE tender_type = OLD.code)
BEGIN SELECT RAISE(ABORT, 'a payment type that was used is never removed'); END;

-- Refunds: a record of kind 'refund' gives back units of the sale original_sale_id names (or, unreferenced, of no
-- receipt); each of its lines names the line it gives back in refund_of, with a negative quantity. The migration
-- adds the columns to older databases first. No line is refunded beyond what was sold, and only a sale is
-- refunded, whatever writes the rows.
-- The indexes hold only the rows that link: with the rest, all NULL, in them, an ANALYZE would make the engine
-- take each lookup for a scan of the table.
CREATE INDEX IF NOT EXISTS sale_records_original_sale_id ON sale_records (original_sale_id)
  WHERE original_sale_id IS NOT NULL;
CREATE INDEX IF NOT EXISTS odemeler_refund_of ON odemeler (refund_of) WHERE refund_of IS NOT NULL;
CREATE INDEX IF NOT EXISTS veresiyeler_refund_of ON veresiyeler (refund_of) WHERE refund_of IS NOT NULL;
CREATE TRIGGER IF NOT EXISTS sale_records_refund_of_a_sale BEFORE INSERT ON sale_records
WHEN (NEW.kind = 'refund' AND NEW.unreferenced = 0
      AND NOT EXISTS (SELECT 1 FROM sale_records s WHERE s.sale_id = NEW.original_sale_id AND s.kind = 'sale'))
  OR (NEW.original_sale_id IS NOT NULL AND (NEW.kind <> 'refund' OR NEW.unreferenced <> 0))
BEGIN SELECT RAISE(ABORT, 'only a sale can be refunded'); END;
CREATE TRIGGER IF NOT EXISTS odemeler_refund_within_sold BEFORE INSERT ON odemeler
WHEN NEW.refund_of IS NOT NULL AND NOT coalesce(NEW.adet < 0
  AND (SELECT o.adet FROM odemeler o WHERE o.id = NEW.refund_of AND o.refund_of IS NULL AND o.adet > 0)
      + (SELECT coalesce(sum(r.adet), 0) FROM odemeler r WHERE r.refund_of = NEW.refund_of) + NEW.adet >= 0, 0)
BEGIN SELECT RAISE(ABORT, 'a refund never exceeds what was sold'); END;
CREATE TRIGGER IF NOT EXISTS odemeler_refund_stays_within_sold BEFORE UPDATE OF adet, refund_of ON odemeler
WHEN NEW.refund_of IS NOT NULL AND NOT coalesce(NEW.adet < 0
  AND (SELECT o.adet FROM odemeler o WHERE o.id = NEW.refund_of AND o.refund_of IS NULL AND o.adet > 0)
      + (SELECT coalesce(sum(r.adet), 0) FROM odemeler r WHERE r.refund_of = NEW.refund_of AND r.id <> OLD.id)
      + NEW.adet >= 0, 0)
BEGIN SELECT RAISE(ABORT, 'a refund never exceeds what was sold'); END;
CREATE TRIGGER IF NOT EXISTS veresiyeler_refund_within_sold BEFORE INSERT ON veresiyeler
WHEN NEW.refund_of IS NOT NULL AND NOT coalesce(NEW.adet < 0
  AND (SELECT o.adet FROM veresiyeler o WHERE o.id = NEW.refund_of AND o.refund_of IS NULL AND o.adet > 0)
      + (SELECT coalesce(sum(r.adet), 0) FROM veresiyeler r WHERE r.refund_of = NEW.refund_of) + NEW.adet >= 0, 0)
BEGIN SELECT RAISE(ABORT, 'a refund never exceeds what was sold'); END;
CREATE TRIGGER IF NOT EXISTS veresiyeler_refund_stays_within_sold BEFORE UPDATE OF adet, refund_of ON veresiyeler
WHEN NEW.refund_of IS NOT NULL AND NOT coalesce(NEW.adet < 0
  AND (SELECT o.adet FROM veresiyeler o WHERE o.id = NEW.refund_of AND o.refund_of IS NULL AND o.adet > 0)
      + (SELECT coalesce(sum(r.adet), 0) FROM veresiyeler r WHERE r.refund_of = NEW.refund_of AND r.id <> OLD.id)
      + NEW.adet >= 0, 0)
BEGIN SELECT RAISE(ABORT, 'a refund never exceeds what was sold'); END;
