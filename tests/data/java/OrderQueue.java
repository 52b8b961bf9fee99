package pl.example.shop;

import java.util.ArrayDeque;
import java.util.Deque;
import java.util.concurrent.atomic.AtomicLong;

/**
 * A queue of orders waiting for the warehouse.
 * <p>
 * Orders are taken in the order they came; see {@link #take()}.
 */
public final class OrderQueue implements Iterable<Order> {
    private static final long MAX_WAIT = 30_000L;   // milliseconds
    private static final double VAT = 0.23, DISCOUNT = 5e-2;
    private static final int MASK = 0xFF, FLAGS = 017;

    private final Deque<Order> orders = new ArrayDeque<>();
    private final AtomicLong counter = new AtomicLong();

    /* Synchronised on the queue itself,
       never on the orders. */
    public synchronized void put(Order order) {
        if (order == null) throw new IllegalArgumentException("order must not be null");
        orders.addLast(order);
        counter.incrementAndGet();
        notifyAll();
    }

    public synchronized Order take() throws InterruptedException {
        long deadline = System.currentTimeMillis() + MAX_WAIT;
        while (orders.isEmpty()) {
            long left = deadline - System.currentTimeMillis();
            if (left <= 0) return null;
            wait(left);
        }
        return orders.removeFirst();
    }

    @Override
    public java.util.Iterator<Order> iterator() {
        return orders.iterator();
    }

    static String describe(Order o) {
        char sep = '\'';
        String text = "Zam\u00f3wienie \"" + o.id() + "\"" + sep + '\\';
        return text.length() > 80 ? text.substring(0, 77) + "..." : text;
    }

    int shift(int x) { return (x >>> 3) | (x << 2) & MASK ^ ~x; }
}
