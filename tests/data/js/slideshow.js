/*
 * Pokaz slajdów na stronie g³ównej.
 */
var SLAJDY = ["img/1.jpg", "img/2.jpg", "img/3.jpg"];
var biezacy = 0;
var obrazy = new Array(SLAJDY.length);

for (var i = 0; i < SLAJDY.length; i++) {
    obrazy[i] = new Image();
    obrazy[i].src = SLAJDY[i];
}

function nastepny() {
    biezacy = (biezacy + 1) % SLAJDY.length;
    document.images["slajd"].src = obrazy[biezacy].src;
    window.status = 'Slajd ' + (biezacy + 1) + ' z ' + SLAJDY.length;
    setTimeout("nastepny()", 4000);
}

function Licznik(start) {
    this.wartosc = start || 0;
    this.zwieksz = function () { return ++this.wartosc; };
}
Licznik.prototype.toString = function () { return "Licznik(" + this.wartosc + ")"; };

var dzis = new Date();
var napis = dzis.getDate() + "." + (dzis.getMonth() + 1) + "." + dzis.getFullYear();
document.write('<p class="data">Dzisiaj jest ' + napis + '</p>');
if (navigator.appName == "Netscape" && parseFloat(navigator.appVersion) < 5) {
    document.write("<layer id='info'>Stara przegl\u0105darka</layer>");
} else {
    document.getElementById("info").innerHTML = "Nowa przegl¹darka";
}
switch (typeof biezacy) { case "number": break; default: throw new Error("z³y typ"); }
try { nastepny(); } catch (e) { /* nic */ } finally { biezacy = 0; }
