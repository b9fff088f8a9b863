-- The takings records of data.db: built into empty.db after schema.sql, and run again by the migration (it is
-- compiled into the program) whenever this text changes, so every statement here may run on a database that
-- has its objects already. Money is whole cents. Sale records and tenders are never changed: the triggers below
-- refuse every UPDATE and DELETE on them.

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
  session_id TEXT
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
CREATE TRIGGER IF NOT EXISTS tender_types_used_stay BEFORE DELETE ON tender_types
WHEN OLD.built_in <> 0 OR EXISTS (SELECT 1 FROM tenders WHERE tender_type = OLD.code)
BEGIN SELECT RAISE(ABORT, 'a payment type that was used is never removed'); END;

-- Till sessions and their Z reports. A till works in sessions (sequence 1, 2, ... per till); a session is open
-- while it has no Z report, and a till opens its next one only when its last one has a Z. Every record and cash
-- movement of a till belongs to its open session (sale_records.session_id; NULL for records from before there were
-- sessions). A Z keeps every figure of its session, the count and the difference, with a line per payment type.
-- Like the records, none of it is ever changed, deleted or replaced.
CREATE TABLE IF NOT EXISTS till_sessions (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  session_id TEXT NOT NULL UNIQUE,
  till TEXT NOT NULL,
  sequence INTEGER NOT NULL,
  opened_at TEXT NOT NULL,
  float_cents INTEGER NOT NULL,
  UNIQUE (till, sequence)
);
CREATE TABLE IF NOT EXISTS cash_movements (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  movement_id TEXT NOT NULL UNIQUE,
  session_id TEXT NOT NULL,
  till TEXT NOT NULL,
  recorded_at TEXT NOT NULL,
  kind TEXT NOT NULL CHECK (kind IN ('in', 'out', 'drawer')),
  amount_cents INTEGER NOT NULL CHECK (amount_cents >= 0),
  reason TEXT
);
CREATE INDEX IF NOT EXISTS cash_movements_session_id ON cash_movements (session_id);
CREATE TABLE IF NOT EXISTS z_reports (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  session_id TEXT NOT NULL UNIQUE,
  till TEXT NOT NULL,
  z_number INTEGER NOT NULL,
  closed_at TEXT NOT NULL,
  sequence INTEGER NOT NULL,
  opened_at TEXT NOT NULL,
  float_cents INTEGER NOT NULL,
  sales_count INTEGER NOT NULL,
  sales_cents INTEGER NOT NULL,
  discount_cents INTEGER NOT NULL,
  refunds_count INTEGER NOT NULL,
  refunds_cents INTEGER NOT NULL,
  cash_in_cents INTEGER NOT NULL,
  cash_out_cents INTEGER NOT NULL,
  credit_settled_cents INTEGER NOT NULL,
  cash_settlements_cents INTEGER NOT NULL,
  drawer_openings INTEGER NOT NULL,
  cash_taken_cents INTEGER NOT NULL,
  change_given_cents INTEGER NOT NULL,
  cash_refunded_cents INTEGER NOT NULL,
  expected_cash_cents INTEGER NOT NULL,
  counted_cash_cents INTEGER NOT NULL,
  difference_cents INTEGER NOT NULL,
  UNIQUE (till, z_number)
);
CREATE INDEX IF NOT EXISTS z_reports_closed_at ON z_reports (closed_at);
CREATE TABLE IF NOT EXISTS z_report_tenders (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  session_id TEXT NOT NULL,
  position INTEGER NOT NULL,
  tender_type TEXT NOT NULL,
  sales_count INTEGER NOT NULL,
  sales_cents INTEGER NOT NULL,
  refunds_count INTEGER NOT NULL,
  refunds_cents INTEGER NOT NULL,
  UNIQUE (session_id, tender_type)
);
CREATE INDEX IF NOT EXISTS sale_records_session_id ON sale_records (session_id);

CREATE TRIGGER IF NOT EXISTS till_sessions_one_open BEFORE INSERT ON till_sessions
WHEN NEW.sequence <> 1 + coalesce((SELECT max(sequence) FROM till_sessions WHERE till = NEW.till), 0)
  OR EXISTS (SELECT 1 FROM till_sessions s WHERE s.till = NEW.till AND s.sequence = NEW.sequence - 1
             AND NOT EXISTS (SELECT 1 FROM z_reports z WHERE z.session_id = s.session_id))
BEGIN SELECT RAISE(ABORT, 'a till has one open session'); END;
CREATE TRIGGER IF NOT EXISTS sale_records_in_open_session BEFORE INSERT ON sale_records
WHEN NEW.session_id IS NOT NULL
  AND (NOT EXISTS (SELECT 1 FROM till_sessions WHERE session_id = NEW.session_id AND till = NEW.till)
       OR EXISTS (SELECT 1 FROM z_reports WHERE session_id = NEW.session_id))
BEGIN SELECT RAISE(ABORT, 'a record belongs to an open session of its till'); END;
CREATE TRIGGER IF NOT EXISTS cash_movements_in_open_session BEFORE INSERT ON cash_movements
WHEN NOT EXISTS (SELECT 1 FROM till_sessions WHERE session_id = NEW.session_id AND till = NEW.till)
  OR EXISTS (SELECT 1 FROM z_reports WHERE session_id = NEW.session_id)
  OR EXISTS (SELECT 1 FROM cash_movements WHERE id = NEW.id OR movement_id = NEW.movement_id)
BEGIN SELECT RAISE(ABORT, 'a record belongs to an open session of its till'); END;
CREATE TRIGGER IF NOT EXISTS z_reports_once_per_session BEFORE INSERT ON z_reports
WHEN NOT EXISTS (SELECT 1 FROM till_sessions WHERE session_id = NEW.session_id AND till = NEW.till)
  OR NEW.z_number <> 1 + coalesce((SELECT max(z_number) FROM z_reports WHERE till = NEW.till), 0)
  OR EXISTS (SELECT 1 FROM z_reports WHERE id = NEW.id OR session_id = NEW.session_id)
BEGIN SELECT RAISE(ABORT, 'a session is closed once, by the next Z of its till'); END;
CREATE TRIGGER IF NOT EXISTS till_sessions_never_replaced BEFORE INSERT ON till_sessions
WHEN EXISTS (SELECT 1 FROM till_sessions WHERE id = NEW.id OR session_id = NEW.session_id)
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS z_report_tenders_never_replaced BEFORE INSERT ON z_report_tenders
WHEN EXISTS (SELECT 1 FROM z_report_tenders WHERE id = NEW.id
             OR (session_id = NEW.session_id AND tender_type = NEW.tender_type))
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS till_sessions_never_updated BEFORE UPDATE ON till_sessions
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS till_sessions_never_deleted BEFORE DELETE ON till_sessions
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS cash_movements_never_updated BEFORE UPDATE ON cash_movements
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS cash_movements_never_deleted BEFORE DELETE ON cash_movements
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS z_reports_never_updated BEFORE UPDATE ON z_reports
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS z_reports_never_deleted BEFORE DELETE ON z_reports
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS z_report_tenders_never_updated BEFORE UPDATE ON z_report_tenders
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
CREATE TRIGGER IF NOT EXISTS z_report_tenders_never_deleted BEFORE DELETE ON z_report_tenders
BEGIN SELECT RAISE(ABORT, 'takings records are never changed'); END;
