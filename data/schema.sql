-- The empty database delivered beside the program; data.db starts as a copy of it.
PRAGMA journal_mode = DELETE;

CREATE TABLE urunler (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  barkod TEXT,
  urunadi TEXT,
  fiyat NUMERIC,
  stok INTEGER DEFAULT 0,
  kayittarihi DATETIME DEFAULT (datetime('now','localtime'))
);

CREATE TABLE musteriler (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  musteriadi TEXT,
  kayittarihi DATETIME DEFAULT (datetime('now','localtime'))
);

CREATE TABLE veresiyeler (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  musteriid INTEGER,
  musteriadi TEXT,
  barkod TEXT,
  urunadi TEXT,
  adet INTEGER,
  fiyat NUMERIC,
  odendimi INTEGER DEFAULT 0,
  kayittarihi DATETIME DEFAULT (datetime('now','localtime')),
  odemetarihi DATETIME,
  sale_id TEXT,
  refund_of INTEGER
);

CREATE TABLE odemeler (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  fisno INTEGER DEFAULT 0,
  barkod TEXT,
  urunadi TEXT,
  adet INTEGER,
  fiyat NUMERIC,
  odemetarihi DATETIME DEFAULT (datetime('now','localtime')),
  sale_id TEXT,
  refund_of INTEGER
);

-- Lookups by barcode (the till, the products screen), a customer's open credit lines (found by name) and the
-- date ranges of the history and reports.
CREATE INDEX urunler_barkod ON urunler (barkod);
-- The sales history lists every product name in order in its filter box.
CREATE INDEX urunler_urunadi ON urunler (urunadi);
CREATE INDEX musteriler_musteriadi ON musteriler (musteriadi);
CREATE INDEX veresiyeler_musteriadi_odendimi ON veresiyeler (musteriadi, odendimi);
CREATE INDEX veresiyeler_kayittarihi ON veresiyeler (kayittarihi);
CREATE INDEX odemeler_odemetarihi ON odemeler (odemetarihi);

-- The takings records (sale records, tenders, payment types) follow in takings.sql.
