#pragma once
// The menu entries that open a screen of their own. The menus announce the
// chosen entry (after the administrator gate); the program opens the screen.

enum class MenuEntry {
    // Main menu (administrator only).
    AtualizarCadastros,
    LeituraRPI,
    TrocaSenha,
    // Search menu.
    PesquisaMarca,
    PesqTitular,
    PesqCNPJ,
    PesqProc,
    PesqProcurador,
    PesqRevista,
    PesqProprio,
    PesqVigencia,
    // Utilities menu (administrator only).
    Usuarios,
};
