-- Keys given by the database. Each generator advances exactly once per
-- inserted row, so gen_id(...,0) read right after an insert is its key.
CREATE SEQUENCE codrevproc_gen;
CREATE SEQUENCE codprocurador_gen;
CREATE SEQUENCE usuarios_gen;

SET TERM ^ ;

CREATE TRIGGER revprocs_bi FOR RevProcs ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.codigo IS NULL) THEN NEW.codigo = GEN_ID(codrevproc_gen, 1);
END^

CREATE TRIGGER procuradores_bi FOR Procuradores ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.codprocurador IS NULL) THEN NEW.codprocurador = GEN_ID(codprocurador_gen, 1);
END^

CREATE TRIGGER usuarios_bi FOR Usuarios ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.id IS NULL) THEN NEW.id = GEN_ID(usuarios_gen, 1);
END^

SET TERM ; ^

-- Row 1 of Procuradores is seeded; the first attorney a transfer adds gets 2.
ALTER SEQUENCE codprocurador_gen RESTART WITH 1;
