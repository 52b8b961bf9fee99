//---------------------------------------------------------------------------
#include <vcl.h>
#pragma hdrstop

#include "MainForm.h"
//---------------------------------------------------------------------------
#pragma package(smart_init)
#pragma resource "*.dfm"
TfrmMain *frmMain;
//---------------------------------------------------------------------------
__fastcall TfrmMain::TfrmMain(TComponent* Owner)
    : TForm(Owner), FCount(0)
{
    Caption = "Licznik zamówieñ";   /* Polish text in the
                                            code page */
}
//---------------------------------------------------------------------------
void __fastcall TfrmMain::btnAddClick(TObject *Sender)
{
    try {
        FCount += StrToInt(edAmount->Text);
    } catch (EConvertError &e) {
        ShowMessage("Niepoprawna liczba: " + e.Message);
        return;
    }
    lblTotal->Caption = IntToStr(FCount);
}
//---------------------------------------------------------------------------
class TCounter : public TObject
{
__published:
    __property int Count = {read = FCount, write = SetCount, default = 0};
private:
    int FCount;
    void __fastcall SetCount(int value) { FCount = value < 0 ? 0 : value; }
};

extern "C" __declspec(dllexport) int __stdcall Version(void)
{
    int v;
    asm mov eax, 3;
    asm {
        mov v, eax /* stored
                      for later */
    }
    return v;
}

#define LONG_MACRO(a, b) \
    ((a) > (b) ? (a) \
               : (b))  // the larger

#define WITH_COMMENT 1 /* one */ + 2
const char* path = "C:\\Program Files\\Ostrel\\";
const char* joined = "first line \
second line";
wchar_t w = L'x';
int bad = 019 + 12abc + 0x + 1e;
