unit Counters;

{$IFDEF VER140}
  {$WARN SYMBOL_PLATFORM OFF}
{$ENDIF}

interface

uses
  Windows, SysUtils, Classes;

type
  TCounterEvent = procedure(Sender: TObject; Value: Integer) of object;

  { A counter that reports every change.
    Thread safety is the caller's business. }
  TCounter = class(TComponent)
  private
    FValue: Integer;
    FStep: Integer;
    FOnChange: TCounterEvent;
    procedure SetValue(const AValue: Integer);
  protected
    procedure Changed; virtual;
  public
    constructor Create(AOwner: TComponent); override;
    function Next: Integer;
    property Items[Index: Integer]: string read GetItem; default;
  published
    property Value: Integer read FValue write SetValue default 0;
    property Step: Integer read FStep write FStep stored True nodefault;
    property OnChange: TCounterEvent read FOnChange write FOnChange;
  end;

function FastAdd(A, B: Integer): Integer; register;
procedure Log(const Msg: string); stdcall; deprecated;

implementation

const
  Separator = #13#10;
  Mask = $FF00;
  Ratio = 1.5E-3;
  Quote = 'It''s done';
  Range = 1..10;

(* The old implementation kept a list of listeners;
   one event is enough now. *)

constructor TCounter.Create(AOwner: TComponent);
begin
  inherited Create(AOwner);
  FStep := 1;
end;

procedure TCounter.SetValue(const AValue: Integer);
begin
  if AValue <> FValue then
  begin
    FValue := AValue;
    Changed;
  end;
end;

procedure TCounter.Changed;
begin
  if Assigned(FOnChange) then FOnChange(Self, FValue); // notify
end;

function TCounter.Next: Integer;
begin
  Inc(FValue, FStep);
  Result := FValue;
end;

function FastAdd(A, B: Integer): Integer;
asm
  ADD EAX, EDX   { the result is in EAX }
  (* nothing else
     to do *)
end;

procedure Log(const Msg: string);
var
  P: ^Char;
begin
  P := @Msg[1];
  if P^ <> #0 then
    OutputDebugString(PChar('Licznik: ' + Msg + ' ¹ê '));
end;

end.
