use strict; # pragma
my $count = $ARGV[0] . $_ . $0 . $! . $^W;
print "a \"b\" \\" if $x eq 'y' and @INC;
$x =~ /a+/; $y **= 2 <=> 3 .. 1..10 x 3
=pod 1_000_000 0xFF 1.5e-3 % %h x= `
