-- Operations that must not run at two desks at once (reading an issue into
-- staging, applying it) take a row here, named after what they guard. The
-- row holds the attachment of the desk that took it (CURRENT_CONNECTION)
-- and when it took it (inicio, the server's time): a row whose attachment
-- is gone, or began after the row was written (a restored database numbers
-- its attachments anew), is free again.
CREATE TABLE Bloqueio (
  nome      VARCHAR(31) NOT NULL,
  conexao   BIGINT,
  operacao  VARCHAR(100),
  inicio    TIMESTAMP,
  CONSTRAINT pk_bloqueio PRIMARY KEY (nome)
);
