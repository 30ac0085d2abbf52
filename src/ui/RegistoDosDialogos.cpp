#include "ui/RegistoDosDialogos.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace {

// From the root down to the key the dialog writes; each may or may not be there before.
const wchar_t* const CChaves[] = {
    L"Software\\QtProject",
    L"Software\\QtProject\\OrganizationDefaults",
    L"Software\\QtProject\\OrganizationDefaults\\FileDialog",
};

struct TValor {
    std::wstring Nome;
    DWORD Tipo = 0;
    std::vector<BYTE> Dados;
};

bool Existe(const wchar_t* AChave) {
    HKEY chave = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, AChave, 0, KEY_READ, &chave) != ERROR_SUCCESS)
        return false;
    RegCloseKey(chave);
    return true;
}

std::vector<TValor> Valores(const wchar_t* AChave) {
    std::vector<TValor> valores;
    HKEY chave = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, AChave, 0, KEY_READ, &chave) != ERROR_SUCCESS)
        return valores;
    DWORD maiorNome = 0, maiorDados = 0;
    RegQueryInfoKeyW(chave, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &maiorNome, &maiorDados, nullptr, nullptr);
    for (DWORD i = 0;; ++i) {
        std::wstring nome(maiorNome + 1, L'\0');
        std::vector<BYTE> dados(maiorDados + 1);
        DWORD tamanhoNome = maiorNome + 1, tamanhoDados = maiorDados + 1, tipo = 0;
        if (RegEnumValueW(chave, i, nome.data(), &tamanhoNome, nullptr, &tipo, dados.data(),
                          &tamanhoDados) != ERROR_SUCCESS)
            break;
        nome.resize(tamanhoNome);
        dados.resize(tamanhoDados);
        valores.push_back({std::move(nome), tipo, std::move(dados)});
    }
    RegCloseKey(chave);
    return valores;
}

// Removes a key left with nothing in it; one that holds anything stays.
void ApagarSeVazia(const wchar_t* AChave) {
    HKEY chave = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, AChave, 0, KEY_READ, &chave) != ERROR_SUCCESS) return;
    DWORD subchaves = 0, valores = 0;
    const bool vazia =
        RegQueryInfoKeyW(chave, nullptr, nullptr, nullptr, &subchaves, nullptr, nullptr, &valores,
                         nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
        subchaves == 0 && valores == 0;
    RegCloseKey(chave);
    if (vazia) RegDeleteKeyW(HKEY_CURRENT_USER, AChave);
}

} // namespace

struct TGuardaDoRegistoDosDialogos::TEstado {
    bool Existia[3] = {};
    std::vector<TValor> Historico;
};

TGuardaDoRegistoDosDialogos::TGuardaDoRegistoDosDialogos() : FAntes(std::make_unique<TEstado>()) {
    for (int i = 0; i < 3; ++i)
        FAntes->Existia[i] = Existe(CChaves[i]);
    if (FAntes->Existia[2]) FAntes->Historico = Valores(CChaves[2]);
}

TGuardaDoRegistoDosDialogos::~TGuardaDoRegistoDosDialogos() {
    // The history as it was: another Qt program's, when there was one.
    RegDeleteTreeW(HKEY_CURRENT_USER, CChaves[2]);
    if (FAntes->Existia[2]) {
        HKEY chave = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, CChaves[2], 0, nullptr, 0, KEY_WRITE, nullptr,
                            &chave, nullptr) == ERROR_SUCCESS) {
            for (const TValor& valor : FAntes->Historico)
                RegSetValueExW(chave, valor.Nome.c_str(), 0, valor.Tipo, valor.Dados.data(),
                               static_cast<DWORD>(valor.Dados.size()));
            RegCloseKey(chave);
        }
        return;
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, CChaves[2]);
    for (int i = 1; i >= 0; --i)
        if (!FAntes->Existia[i]) ApagarSeVazia(CChaves[i]);
}

#else

struct TGuardaDoRegistoDosDialogos::TEstado {};

TGuardaDoRegistoDosDialogos::TGuardaDoRegistoDosDialogos() = default;
TGuardaDoRegistoDosDialogos::~TGuardaDoRegistoDosDialogos() = default;

#endif
