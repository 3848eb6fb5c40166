-- Rows the program expects to find.
INSERT INTO Procuradores (codprocurador, procurador) VALUES (1, 'O PRÓPRIO');
-- Default administrator password "quorvanta" in its scrambled form
-- (reversed, each character's code lowered by its position).
INSERT INTO Controle (codigo, controle6) VALUES (1, '`rk]qlhmh');
COMMIT;
