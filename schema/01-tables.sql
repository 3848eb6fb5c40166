-- Quorvanta database: tables. UTF8 throughout; the name columns that the
-- searches compare (marca, titular, procurador) are case-insensitive.
-- Name columns are as wide as Firebird can still index them (680 characters
-- with UNICODE_CI on 16 KB pages); long texts, and the lists that are never
-- looked up (Vienna codes, old classes, petitioners), are text BLOBs, which
-- keeps rows short: every insert and every full scan pays for the declared
-- width of a row.

-- Staging: one journal issue at a time.
CREATE TABLE RPI (
  codigo            INTEGER NOT NULL,
  processo          INTEGER,
  revista           INTEGER,
  despacho          VARCHAR(10),
  deposito          DATE,
  vigencia          DATE,
  concessao         DATE,
  apresentacao      VARCHAR(100),
  natureza          VARCHAR(10),
  nclver            SMALLINT,
  nclclasse         SMALLINT,
  cferev            SMALLINT,
  cfe               BLOB SUB_TYPE TEXT,
  classe            BLOB SUB_TYPE TEXT,
  marca             VARCHAR(250) COLLATE UNICODE_CI,
  procurador        VARCHAR(680) COLLATE UNICODE_CI,
  titular           VARCHAR(680) COLLATE UNICODE_CI,
  cgccpf            VARCHAR(20),
  prioridadenum     VARCHAR(100),
  prioridadedata    DATE,
  prioridadepais    VARCHAR(10),
  titularpais       VARCHAR(60),
  especificacao     BLOB SUB_TYPE TEXT,
  apostila          BLOB SUB_TYPE TEXT,
  complemento       BLOB SUB_TYPE TEXT,
  protocolo         VARCHAR(60),
  dataprotocolo     DATE,
  codserv           VARCHAR(60),
  requerente        BLOB SUB_TYPE TEXT,
  procuradorpeticao VARCHAR(680) COLLATE UNICODE_CI,
  CONSTRAINT pk_rpi PRIMARY KEY (codigo)
);

CREATE TABLE ProcRefRevista (
  codigo     INTEGER NOT NULL,
  numproc    INTEGER,
  ordemproc  INTEGER,
  despacho   VARCHAR(10),
  revista    INTEGER,
  CONSTRAINT pk_procrefrevista PRIMARY KEY (codigo)
);

-- One row per issue read; atualizado 0 once read, 1 once applied.
CREATE TABLE Revistas (
  revista     INTEGER NOT NULL,
  rdata       DATE,
  atualizado  SMALLINT DEFAULT 0,
  codrevproc  INTEGER,
  CONSTRAINT pk_revistas PRIMARY KEY (revista)
);

-- One row per trademark process, keyed by its 8-digit number.
CREATE TABLE Processos (
  processo        INTEGER NOT NULL,
  bcdproc         VARCHAR(4),
  revista         INTEGER,
  despacho        VARCHAR(10),
  deposito        DATE,
  vigencia        DATE,
  concessao       DATE,
  marcaclean      VARCHAR(500),
  apresentacao    VARCHAR(100),
  natureza        VARCHAR(10),
  nclver          SMALLINT,
  nclclasse       SMALLINT,
  cferev          SMALLINT,
  cfe             BLOB SUB_TYPE TEXT,
  classe          BLOB SUB_TYPE TEXT,
  marca           VARCHAR(250) COLLATE UNICODE_CI,
  codprocurador   INTEGER DEFAULT 0,
  titular         VARCHAR(680) COLLATE UNICODE_CI,
  cgccpf          VARCHAR(20),
  prioridadenum   VARCHAR(100),
  prioridadedata  DATE,
  prioridadepais  VARCHAR(10),
  titularpais     VARCHAR(60),
  especificacao   BLOB SUB_TYPE TEXT,
  apostila        BLOB SUB_TYPE TEXT,
  marcaphon1      VARCHAR(500),
  marcaphon2      VARCHAR(500),
  codserv         VARCHAR(60),
  CONSTRAINT pk_processos PRIMARY KEY (processo)
);

-- One row per dispatch published for a process.
CREATE TABLE RevProcs (
  codigo                INTEGER NOT NULL,
  processo              INTEGER,
  rpi                   INTEGER,
  bcdproc               VARCHAR(4),
  despacho              VARCHAR(10),
  complemento           BLOB SUB_TYPE TEXT,
  protocolo             VARCHAR(60),
  dataprotocolo         DATE,
  codserv               VARCHAR(60),
  requerente            BLOB SUB_TYPE TEXT,
  codprocuradorpeticao  INTEGER,
  CONSTRAINT pk_revprocs PRIMARY KEY (codigo)
);

-- Attorneys by exact upper-case name; 1 is the applicant acting for itself.
CREATE TABLE Procuradores (
  codprocurador  INTEGER NOT NULL,
  procurador     VARCHAR(680) COLLATE UNICODE_CI,
  CONSTRAINT pk_procuradores PRIMARY KEY (codprocurador)
);

-- Processes cited by a dispatch (codigo is the citing RevProcs key).
CREATE TABLE RevProcRef (
  codigo   INTEGER NOT NULL,
  refproc  INTEGER NOT NULL
);

-- The batch loader's own link table, of the same shape.
CREATE TABLE RevProcRefProc (
  codigo   INTEGER NOT NULL,
  refproc  INTEGER NOT NULL
);

-- Control row 1 holds the administrator password in scrambled form.
CREATE TABLE Controle (
  codigo     INTEGER NOT NULL,
  controle6  VARCHAR(60),
  CONSTRAINT pk_controle PRIMARY KEY (codigo)
);

-- User list; id is a hidden key so the grid edits exactly one row.
CREATE TABLE Usuarios (
  id           INTEGER NOT NULL,
  usuario      VARCHAR(60),
  senha        VARCHAR(60),
  livreacesso  VARCHAR(10),
  CONSTRAINT pk_usuarios PRIMARY KEY (id)
);
