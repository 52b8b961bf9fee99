program Project1;

uses
  Forms,
  Unit1 in 'Unit1.pas' {Form1};

{$R *.res}

exports
  FastAdd index 1 name 'Add',
  Log;

var
  I: Integer;
  Data: array[0..15] of Byte;

begin
  for I := Low(Data) to High(Data) do
    Data[I] := I * 2 mod 7 shl 1;
  Application.Initialize;
  Application.CreateForm(TForm1, Form1);
  Application.Run;
  WriteLn('Done' + #9 + IntToStr(I) + '|');   { unclosed comment
  continues here }
end.
