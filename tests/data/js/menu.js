// Rozwijane menu i sprawdzanie formularza zamówienia
// (c) 2003, wersja dla Netscape 4 i IE 5

var opoznienie = 500;
var otwarte = null, zegar = 0;
var isNS4 = (document.layers) ? true : false;
var isIE = (document.all) ? true : false;

function pokazMenu(id)
{
    if (zegar) { clearTimeout(zegar); zegar = 0; }
    if (otwarte && otwarte != id) ukryjMenu(otwarte);
    var m = isNS4 ? document.layers[id] : document.getElementById(id);
    if (!m) return false;
    if (isNS4) m.visibility = "show"; else m.style.visibility = 'visible';
    otwarte = id;
    return true;
}

function ukryjMenu(id) {
    zegar = setTimeout("schowaj('" + id + "')", opoznienie);
}

/* Sprawdza pola formularza przed wys³aniem.
   Zwraca false, gdy czegoœ brakuje. */
function sprawdz(f)
{
    var bledy = new Array();
    if (f.nazwisko.value.length < 2) bledy[bledy.length] = "Podaj nazwisko";
    if (f.email.value.indexOf('@') == -1) bledy[bledy.length] = 'Niepoprawny adres e-mail';
    var ilosc = parseInt(f.ilosc.value, 10);
    if (isNaN(ilosc) || ilosc <= 0 || ilosc > 0x7F) bledy[bledy.length] = "Ilo\u015B\u0107 od 1 do 127";
    if (bledy.length > 0) {
        alert("Popraw:\n" + bledy.join("\n"));
        return false;
    }
    f.suma.value = Math.round(ilosc * 12.5 * 100) / 100;
    return confirm('Wys³aæ zamówienie?');
}

window.onLoad = function () { pokazMenu("menu1"); };
document.onMouseDown = function (e) { if (otwarte) ukryjMenu(otwarte); return true; };
var sciezka = "C:\\strona\\";
var x = 1e5, y = 1.5, z = 0xFFl, w = i++ + --j;
x += y; x -= 2; x *= 3; x %= 4; x /= 5; x &= 6; x |= 7;
var f = function(a, b) { return a && b || !a; };
typeof x == "number" ? x : null;
