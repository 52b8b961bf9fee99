import pl.example.shop.*;

public class Main {
    /**/ static int counter;   // an empty comment, not documentation
    /***/ static int other;

    public static void main(String[] args) throws Exception {
        OrderQueue q = new OrderQueue();
        for (int i = 0; i < 10; i++) {
            q.put(new Order(i, "Herbata #" + i, 12.50 * i));
        }
        assert q != null : "no queue";
        Order o;
        while ((o = q.take()) != null) {
            System.out.printf("%d: %s%n", o.id(), OrderQueue.describe(o));
        }
        label: for (;;) { break label; }
        int[] a = {1, 2, 3};
        Object x = a instanceof int[] ? (Object) a : null;
        String s = "unterminated
        char c = 'x;
        /* a comment that
         * spans /** several
         * lines */ int after = 1;
        String esc = "a\\";
    }
}
