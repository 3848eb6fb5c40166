-- calc_cd: the 9-character process number, the 8 digits and the check digit
-- (weights 9 down to 2, remainder modulo 11; 0 for remainders 0 and 1,
-- otherwise 11 minus the remainder).
-- fmtinteger: a number as text, zero-padded on the left to a width.
SET TERM ^ ;

CREATE FUNCTION calc_cd (processo INTEGER) RETURNS VARCHAR(9)
AS
  DECLARE s VARCHAR(8);
  DECLARE i INTEGER;
  DECLARE soma INTEGER;
  DECLARE r INTEGER;
BEGIN
  IF (processo IS NULL) THEN RETURN NULL;
  s = LPAD(CAST(processo AS VARCHAR(12)), 8, '0');
  IF (CHAR_LENGTH(s) > 8) THEN s = RIGHT(s, 8);
  soma = 0;
  i = 1;
  WHILE (i <= 8) DO
  BEGIN
    soma = soma + CAST(SUBSTRING(s FROM i FOR 1) AS INTEGER) * (10 - i);
    i = i + 1;
  END
  r = MOD(soma, 11);
  IF (r < 2) THEN RETURN s || '0';
  RETURN s || CAST(11 - r AS VARCHAR(2));
END^

CREATE FUNCTION fmtinteger (n INTEGER, w INTEGER) RETURNS VARCHAR(20)
AS
  DECLARE t VARCHAR(20);
BEGIN
  IF (n IS NULL) THEN RETURN NULL;
  t = CAST(n AS VARCHAR(20));
  IF (CHAR_LENGTH(t) >= w) THEN RETURN t;
  RETURN LPAD(t, w, '0');
END^

SET TERM ; ^
