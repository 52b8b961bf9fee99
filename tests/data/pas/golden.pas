{$R+} { comment
  on two lines }
property X: Integer read FX write SetX; read
procedure P; stdcall; platform;
asm mov ax, 1 end;
'It''s' #13#10 $FF 1.5E-3 1..10 @@x (. x .) | a//b
(* block *) Begin1 End_ BEGIN
