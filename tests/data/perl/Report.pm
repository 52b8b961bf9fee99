package Shop::Report;
# A report of orders, printed as a table.
use strict;
use integer;
use constant WIDTH => 72;
our $VERSION = '1.02';

sub new {
    my ($class, %args) = @_;
    my $self = bless { rows => [], title => $args{title} || 'Raport sprzeda¿y', %args }, ref($class) || $class;
    return $self;
}

sub add {
    my $self = shift;
    push @{ $self->{rows} }, [@_];
    return scalar @{ $self->{rows} };
}

sub render {
    my ($self) = @_;
    my $out = sprintf("%s\n%s\n", $self->{title}, '=' x WIDTH);
    for my $row (@{ $self->{rows} }) {
        $out .= join("\t", map { defined $_ ? $_ : '-' } @$row) . "\n";
    }
    $out .= "Sum: " . (eval { _sum($self) } || 0) . "\n";
    $out =~ s/\t+$//mg;
    return $out;
}

sub _sum { my $s = 0; $s += $_->[1] for @{ $_[0]{rows} }; $s }

$SIG{__WARN__} = sub { print STDERR "warning: @_" };
my $x = 0xFF + 1_000_000 + 1.5e-3 + .5;
my @range = (1..10);
my $str = "escaped \"quote\" and \\\\" . 'single \' quote';
my $open = "never closed
print "Pre: $PREMATCH, $^W, $^ $$ @ARGV %INC\n";
1;
